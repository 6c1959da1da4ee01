#include "app/startup.h"
#include "db/data_source.h"
#include "directories/register_directory_screens.h"
#include "models/register_model_screens.h"
#include "records/app_state.h"
#include "screens/register_model1_screens.h"
#include "ui/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Вельтрон"));
    QApplication::setApplicationVersion(QStringLiteral(VELTRON_VERSION));
    // The desktop matches the windows to the installed entry veltron.desktop
    // and its icon.
    QApplication::setDesktopFileName(QStringLiteral("veltron"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("veltron")));

    veltron::AppState state;
    state.programDir = QApplication::applicationDirPath();
    QStringList args = QApplication::arguments();
    const veltron::db::DataFolder folder = veltron::db::takeDataFolder(args, state.programDir);
    if (folder.path.isEmpty()) {
        veltron::ui::dialogs().inform(QStringLiteral("Внимание!"), QStringLiteral("После --data не указана папка данных."),
                                      veltron::ui::Icon::Critical);
        return 1;
    }
    state.dataDir = folder.path;
    state.dataDirNamed = folder.named;
    state.dsn = veltron::db::takeDsn(args);
    // The default data folder is made on first use; a named one only when
    // the user agrees (start-up asks).
    if (state.dsn.isEmpty() && !folder.named)
        QDir().mkpath(state.dataDir);

    veltron::registerAppScreens(state);
    veltron::registerModelIScreens(state);
    veltron::registerDirectoryScreens(state);
    veltron::registerModelScreens(state);
    veltron::startUp(state);
    return app.exec();
}
