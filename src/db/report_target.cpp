#include "db/report_target.h"

#include "db/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>

namespace veltron::db {

namespace {

// A path as a message repeats it: escaped and cut when long.
QString native(const QString& path)
{
    return shownText(QDir::toNativeSeparators(path));
}

// The file a path stands for once symbolic links are followed; the path
// itself when it is none.
QFileInfo resolved(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info;
}

bool isStoreFileName(const QString& name)
{
    for (const char* base : {"bdVeltron.sqlite", "tabMirvel.sqlite"}) {
        for (const char* tail : {"", "-journal", "-wal", "-shm"})
            if (name.compare(QLatin1String(base) + QLatin1String(tail), Qt::CaseInsensitive) == 0)
                return true;
        // The journal of a commit over both files.
        if (name.startsWith(QLatin1String(base) + QLatin1String("-mj"), Qt::CaseInsensitive))
            return true;
    }
    return name.compare(QLatin1String("Data Source.txt"), Qt::CaseInsensitive) == 0;
}

bool isSqliteDatabase(const QFileInfo& file)
{
    QFile f(file.filePath());
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3\0", 16);
}

bool isReportName(const QString& name)
{
    for (const char* ext : {".docx", ".png", ".svg", ".xlsx", ".csv", ".veltron"})
        if (name.endsWith(QLatin1String(ext), Qt::CaseInsensitive))
            return true;
    return false;
}

QString canonicalFolder(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(QFileInfo(path).absoluteFilePath()) : c;
}

// Why the write failed, from the error number the system gave.
QString writeFailure(const QFileInfo& target, int error)
{
    const QString file = native(target.filePath());
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Файл «%1» не сохранен: на диске не хватает места.").arg(file);
    case EFBIG:
        return QStringLiteral("Файл «%1» не сохранен: он больше, чем разрешено записывать на этот диск.").arg(file);
    case ENAMETOOLONG:
        return QStringLiteral("Файл «%1» не сохранен: слишком длинное имя файла.").arg(file);
    case EACCES:
    case EPERM:
    case EROFS:
        return QStringLiteral("Файл «%1» не сохранен: нет прав на запись в папку «%2».")
            .arg(file, native(target.absolutePath()));
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Файл «%1» не сохранен: папка «%2» не существует.").arg(file, native(target.absolutePath()));
    default:
        return QStringLiteral("Файл «%1» не сохранен: ошибка записи на диск.").arg(file);
    }
}

}  // namespace

QString withDocxExtension(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive))
        return fileName;
    return fileName + QStringLiteral(".docx");
}

QString reportTargetProblem(const QString& path, const QString& dataDir)
{
    if (path.trimmed().isEmpty())
        return QStringLiteral("Не задано имя файла.");
    const QFileInfo target = resolved(path);
    const QString shown = native(path);
    if (target.exists() && !target.isFile())
        return QStringLiteral("«%1» — не обычный файл (папка, устройство или канал): файл туда не записывается.")
            .arg(shown);
    if (isStoreFileName(target.fileName()) || (target.exists() && isSqliteDatabase(target)))
        return QStringLiteral("«%1» — файл базы данных: файл отчета не записывается поверх него. Выберите другое имя.")
            .arg(shown);
    if (!dataDir.isEmpty() && canonicalFolder(target.absolutePath()) == canonicalFolder(dataDir)
        && !isReportName(target.fileName()))
        return QStringLiteral("«%1» лежит в папке данных программы: там файл отчета записывается только под именем "
                              "с расширением .docx, .xlsx, .csv, .png, .svg или .veltron.")
            .arg(shown);
    return {};
}

QString writeReportFile(const QString& path, const QByteArray& bytes, const QString& dataDir)
{
    if (const QString problem = reportTargetProblem(path, dataDir); !problem.isEmpty())
        return problem;
    const QFileInfo target = resolved(path);
    // NAME_MAX and PATH_MAX of Linux file systems, in bytes.
    if (target.fileName().toUtf8().size() > 255 || target.absoluteFilePath().toUtf8().size() >= 4096)
        return writeFailure(target, ENAMETOOLONG);
    const QFileInfo folder(target.absolutePath());
    if (!folder.isDir())
        return writeFailure(target, ENOENT);
    if (!folder.isWritable())
        return writeFailure(target, EACCES);
    if (target.exists() && !target.isWritable())
        return QStringLiteral("Файл «%1» не сохранен: существующий файл защищен от записи.").arg(native(path));
    // QSaveFile writes beside the target and renames only a complete file.
    QSaveFile file(target.filePath());
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return writeFailure(target, errno);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        file.cancelWriting();
        return writeFailure(target, error);
    }
    if (!file.commit())
        return writeFailure(target, errno);
    return {};
}

}  // namespace veltron::db
