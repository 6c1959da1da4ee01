#include "app/startup.h"
#include "db/data_source.h"
#include "db/program_folders.h"
#include "directories/register_directory_screens.h"
#include "models/register_model_screens.h"
#include "records/app_state.h"
#include "screens/register_model1_screens.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    veltron::db::installQtTranslation(app);
    QApplication::setApplicationName(QStringLiteral("Вельтрон"));
    QApplication::setApplicationVersion(QStringLiteral(VELTRON_VERSION));
    // The desktop matches the windows to the installed entry veltron.desktop
    // and its icon.
    QApplication::setDesktopFileName(QStringLiteral("veltron"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("veltron")));

    veltron::AppState state;
    state.programDir = QApplication::applicationDirPath();
    QStringList args = QApplication::arguments();
    state.dataDir = veltron::db::takeDataDir(args, state.programDir);
    state.dsn = veltron::db::takeDsn(args);
    if (state.dsn.isEmpty())
        QDir().mkpath(state.dataDir);

    veltron::registerAppScreens(state);
    veltron::registerModelIScreens(state);
    veltron::registerDirectoryScreens(state);
    veltron::registerModelScreens(state);
    veltron::startUp(state);
    return app.exec();
}
