#include "db/program_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString userManualBase(const QString& programDir)
{
    const QString name = QStringLiteral("Инструкция Вельтрон_17.0");
    return QDir(programFolders(programDir).files).filePath(name + QLatin1Char('/') + name);
}

}  // namespace veltron::db
