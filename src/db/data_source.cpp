#include "db/data_source.h"

#include "db/program_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>

#include <optional>

namespace veltron::db {

namespace {

const QString kPrefix = QStringLiteral("Provider=MSDASQL.1;Password=5937;Persist Security Info=True;User ID=Admin;");

QString catalog(const QString& dataDir, const char* file)
{
    return QStringLiteral("Initial Catalog=") + QDir::toNativeSeparators(dataDir) + QLatin1String(file);
}

ConnectionStrings build(const QString& dataDir, const QString& source)
{
    return {kPrefix + source + catalog(dataDir, "/bdVeltron.sqlite"),
            kPrefix + source + catalog(dataDir, "/tabMirvel.sqlite")};
}

}  // namespace

ConnectionStrings ConnectionStrings::embedded(const QString& dataDir)
{
    return build(dataDir, QStringLiteral("Data Source=Veltron SQLite;"));
}

ConnectionStrings ConnectionStrings::namedReadWrite(const QString& dataDir, const QString& dsn)
{
    return build(dataDir, QStringLiteral("Data Source='%1';Mode=ReadWrite ;").arg(dsn));
}

ConnectionStrings ConnectionStrings::namedProbe(const QString& dataDir, const QString& dsn)
{
    return build(dataDir, QStringLiteral("Data Source='%1';").arg(dsn));
}

bool ConnectionStrings::isEmbedded() const
{
    return main.contains(QStringLiteral("Data Source=Veltron SQLite;"));
}

QString dataSourceFilePath(const QString& dataDir)
{
    return QDir(dataDir).filePath(QStringLiteral("Data Source.txt"));
}

QString readDataSourceName(const QString& dataDir)
{
    QFile f(dataSourceFilePath(dataDir));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&f);
    in.setEncoding(QStringConverter::Utf8);
    return in.readLine();
}

bool writeDataSourceName(const QString& dataDir, const QString& name)
{
    QSaveFile f(dataSourceFilePath(dataDir));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = name.toUtf8();
    if (f.write(bytes) != bytes.size())
        return false;
    return f.commit();
}

}  // namespace veltron::db

namespace veltron::db {

OpenResult openForDataFolder(const QString& dataDir, const QString& dsn, Prepare prepare)
{
    OpenResult r;
    const auto openNamed = [&] {
        r.connection = ConnectionStrings::namedReadWrite(dataDir, r.dataSourceName);
        try {
            r.store = Store::openOdbc(dataDir, r.dataSourceName);
            r.needsTables = !r.store->hasTables();
        } catch (const StoreError& e) {
            r.namedError = e.message();
            r.namedDetail = e.detail();
        }
    };
    if (!dsn.isEmpty()) {
        r.dataSourceName = dsn;
        openNamed();
        return r;
    }
    r.dataSourceName = readDataSourceName(dataDir);
    r.connection = ConnectionStrings::embedded(dataDir);
    try {
        r.store = Store::openEmbedded(dataDir, prepare);
        return r;
    } catch (const StoreError& e) {
        r.embeddedError = e.message();
        r.embeddedKind = e.kind();
        r.embeddedDetail = e.detail();
    }
    if (r.embeddedKind == StoreError::Kind::Busy || r.dataSourceName.trimmed().isEmpty())
        return r;
    openNamed();
    r.fellBack = r.store != nullptr;
    return r;
}

QString fallbackNotice(const OpenResult& r)
{
    return QStringLiteral("Встроенная база данных не открылась — %1\nРабота идет с источником данных ODBC «%2», имя "
                          "которого записано в файле «Data Source.txt» папки данных.")
        .arg(r.embeddedError, shownText(r.dataSourceName));
}

namespace {

// The value of "--name VALUE" or "--name=VALUE", removed from args; nothing
// when the option is absent, an empty text when it has no value.
std::optional<QString> takeOption(QStringList& args, const QString& name)
{
    const QString joined = name + QLatin1Char('=');
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            const QString value = args.value(i + 1);
            args.remove(i, i + 1 < args.size() ? 2 : 1);
            return value;
        }
        if (args[i].startsWith(joined)) {
            const QString value = args[i].mid(joined.size());
            args.remove(i);
            return value;
        }
    }
    return std::nullopt;
}

}  // namespace

DataFolder takeDataFolder(QStringList& args, const QString& programDir)
{
    if (const std::optional<QString> given = takeOption(args, QStringLiteral("--data")))
        return {given->isEmpty() ? QString() : QFileInfo(*given).absoluteFilePath(), true};
    const QString env = qEnvironmentVariable("VELTRON_DATA");
    if (!env.isEmpty())
        return {QFileInfo(env).absoluteFilePath(), true};
    return {QFileInfo(defaultDataDir(programDir)).absoluteFilePath(), false};
}

QString takeDataDir(QStringList& args, const QString& programDir)
{
    const DataFolder folder = takeDataFolder(args, programDir);
    return folder.path.isEmpty() ? QFileInfo(defaultDataDir(programDir)).absoluteFilePath() : folder.path;
}

QString describeStore(const Source& source)
{
    if (source.dsn.isEmpty())
        return QStringLiteral("встроенная база данных папки «%1»").arg(QDir::toNativeSeparators(source.dataDir));
    return QStringLiteral("источник данных ODBC «%1»").arg(shownText(source.dsn));
}

QString takeDsn(QStringList& args)
{
    const QString dsn = takeOption(args, QStringLiteral("--dsn")).value_or(QString());
    return dsn.isEmpty() ? qEnvironmentVariable("VELTRON_DSN") : dsn;
}

}  // namespace veltron::db
