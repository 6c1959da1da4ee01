#include "app/startup.h"

#include "app/frmAbout.h"
#include "app/frmDataSourse.h"
#include "app/frmLoad_Rasch.h"
#include "app/frmMain1.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace veltron {

ConnectAttempt connect(AppState& state)
{
    db::OpenResult r = db::openForDataFolder(state.dataDir, state.dsn,
                                             state.dataDirNamed ? db::Prepare::Existing : db::Prepare::CreateAndSeed);
    state.connection = r.connection;
    state.store = std::move(r.store);
    // What the database said stays in the log; the user reads the program's message.
    for (const QString& detail : {r.embeddedDetail, r.namedDetail})
        if (!detail.isEmpty())
            qWarning().noquote() << "Вельтрон: база данных:" << detail;
    return {state.store != nullptr && !r.needsTables, r.needsTables,
            !state.store && r.embeddedKind == db::StoreError::Kind::NoStore, r.dataSourceName,
            state.dsn.isEmpty() ? r.embeddedError : r.namedError, r.fellBack ? db::fallbackNotice(r) : QString()};
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

bool offerTables(AppState& state)
{
    const QString dsn = state.store->source().dsn;
    if (ui::dialogs().ask(QStringLiteral("В н и м а н и е ! ! !"),
                          QStringLiteral("В базе данных источника «%1» нет таблиц программы. Создать их и заполнить "
                                         "справочники?")
                              .arg(dsn),
                          ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes) {
        state.store.reset();
        return false;
    }
    try {
        state.store->createSchema(true);
        return true;
    } catch (const db::StoreError& e) {
        state.store.reset();
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Не удалось создать таблицы в базе данных источника «%1»: база оставлена "
                                            "как была.\n%2")
                                 .arg(dsn, e.message()),
                             ui::Icon::Critical);
        return false;
    }
}

bool offerStore(AppState& state)
{
    const QString folder = QDir::toNativeSeparators(state.dataDir);
    const QString question =
        QFileInfo::exists(state.dataDir)
            ? QStringLiteral("В папке данных «%1» нет базы данных программы. Создать в ней новую базу данных и "
                             "заполнить справочники?")
                  .arg(folder)
            : QStringLiteral("Папка данных «%1» не найдена. Создать эту папку и в ней новую базу данных с "
                             "заполненными справочниками?")
                  .arg(folder);
    if (ui::dialogs().ask(QStringLiteral("В н и м а н и е ! ! !"), question, ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return false;
    try {
        if (!QDir().mkpath(state.dataDir))
            throw db::StoreError(QStringLiteral("Не удалось создать папку данных «%1».").arg(folder));
        state.store = db::Store::openEmbedded(state.dataDir, db::Prepare::CreateAndSeed);
        state.connection = db::ConnectionStrings::embedded(state.dataDir);
        return true;
    } catch (const db::StoreError& e) {
        state.store.reset();
        ui::dialogs().inform(QStringLiteral("Внимание!"), e.message(), ui::Icon::Critical);
        return false;
    }
}

namespace {

void showDataSourceDialog(AppState& state, const QString& reason)
{
    auto* dialog = new frmDataSourse(state, reason);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

}  // namespace

void startUp(AppState& state, bool announceFallback)
{
    const ConnectAttempt attempt = connect(state);
    if (announceFallback && !attempt.fallbackNotice.isEmpty())
        ui::dialogs().inform(QStringLiteral("Внимание!"), attempt.fallbackNotice, ui::Icon::Warning);
    if (attempt.needsStore) {
        if (offerStore(state))
            ui::navigator().open(QStringLiteral("frmMain1"));
        else
            showDataSourceDialog(state, attempt.error);
        return;
    }
    if (attempt.needsTables) {
        if (offerTables(state))
            ui::navigator().open(QStringLiteral("frmMain1"));
        else
            showDataSourceDialog(state, {});
        return;
    }
    if (attempt.connected) {
        ui::navigator().open(QStringLiteral("frmMain1"));
        return;
    }
    ui::dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Невозможно подключиться к базе данных, установите имя источника данных ODBC!"),
                         ui::Icon::Critical);
    showDataSourceDialog(state, attempt.error);
}

void registerAppScreens(AppState& state)
{
    auto& nav = ui::navigator();
    nav.registerScreen(QStringLiteral("frmMain1"), [&state] { return new frmMain1(state); });
    nav.registerScreen(QStringLiteral("frmLoad_Rasch"), [&state] { return new frmLoad_Rasch(state); });
    nav.registerScreen(QStringLiteral("frmAbout"), [&state] { return new frmAbout(state); });
}

}  // namespace veltron
