#include "db/program_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

#ifndef VELTRON_FILES_FROM_BIN
#define VELTRON_FILES_FROM_BIN "../share/veltron"
#endif

namespace veltron::db {

ProgramFolders programFolders(const QString& programDir)
{
    ProgramFolders f;
    f.program = QDir::cleanPath(programDir);
    const QString shared = QDir::cleanPath(QDir(f.program).filePath(QStringLiteral(VELTRON_FILES_FROM_BIN)));
    f.installed = !programDir.isEmpty() && QFileInfo(shared).isDir();
    f.files = f.installed ? shared : f.program;
    return f;
}

QString defaultDataDir(const QString& programDir)
{
    if (!programFolders(programDir).installed)
        return programDir;
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(QStringLiteral("veltron"));
}

QString defaultReportFolder(const QString& programDir)
{
    return programFolders(programDir).installed ? QDir::homePath() : QDir::cleanPath(programDir);
}

QString userManualName()
{
    return QStringLiteral("Инструкция Вельтрон_") + QStringLiteral(VELTRON_VERSION);
}

QString userManualBase(const QString& programDir)
{
    const QString name = userManualName();
    return QDir(programFolders(programDir).files).filePath(name + QLatin1Char('/') + name);
}

bool installQtTranslation(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace veltron::db
