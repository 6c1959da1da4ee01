#include "cli/cli.h"
#include "db/program_folders.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char** argv)
{
    // No window ever opens; the GUI part of Qt is there for the fonts that
    // the zone map and the report pictures are drawn with, also on a machine
    // without a display. Its start-up remarks about the desktop session
    // (such as a missing XDG_RUNTIME_DIR) would only clutter stderr.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QtMessageHandler standard = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(standard);
    veltron::db::installQtTranslation(app);
    return veltron::cli::runCli(QCoreApplication::arguments().mid(1), std::cout, std::cerr);
}
