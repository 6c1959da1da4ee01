#include "app/startup.h"

#include "app/frmAbout.h"
#include "app/frmDataSourse.h"
#include "app/frmLoad_Rasch.h"
#include "app/frmMain1.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

namespace veltron {

ConnectAttempt connect(AppState& state)
{
    db::OpenResult r = db::openForDataFolder(state.dataDir);
    state.connection = r.connection;
    state.store = std::move(r.store);
    return {state.store != nullptr, r.dataSourceName, r.embeddedError};
}

bool connectNamed(AppState& state, const QString& dsn, QString* error)
{
    state.connection = db::ConnectionStrings::namedReadWrite(state.dataDir, dsn);
    try {
        state.store = db::Store::openOdbc(state.dataDir, dsn);
        return true;
    } catch (const db::StoreError& e) {
        if (error)
            *error = e.message();
        return false;
    }
}

void startUp(AppState& state)
{
    const ConnectAttempt attempt = connect(state);
    if (attempt.connected) {
        ui::navigator().open(QStringLiteral("frmMain1"));
        return;
    }
    ui::dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Не возможно подключиться к базе данных, установите имя источника данных ODBC!"),
                         ui::Icon::Critical);
    auto* dialog = new frmDataSourse(state, attempt.embeddedError);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void registerAppScreens(AppState& state)
{
    auto& nav = ui::navigator();
    nav.registerScreen(QStringLiteral("frmMain1"), [&state] { return new frmMain1(state); });
    nav.registerScreen(QStringLiteral("frmLoad_Rasch"), [&state] { return new frmLoad_Rasch(state); });
    nav.registerScreen(QStringLiteral("frmAbout"), [&state] { return new frmAbout(state); });
}

}  // namespace veltron
