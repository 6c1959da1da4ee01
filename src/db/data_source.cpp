#include "db/data_source.h"

#include "db/program_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>

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

OpenResult openForDataFolder(const QString& dataDir, const QString& dsn)
{
    OpenResult r;
    const auto openNamed = [&] {
        r.connection = ConnectionStrings::namedReadWrite(dataDir, r.dataSourceName);
        try {
            r.store = Store::openOdbc(dataDir, r.dataSourceName);
            r.needsTables = !r.store->hasTables();
        } catch (const StoreError& e) {
            r.namedError = e.message();
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
        r.store = Store::openEmbedded(dataDir);
        return r;
    } catch (const StoreError& e) {
        r.embeddedError = e.message();
    }
    openNamed();
    return r;
}

namespace {

// The value of "--name VALUE" or "--name=VALUE", removed from args; empty when absent.
QString takeOption(QStringList& args, const QString& name)
{
    const QString joined = name + QLatin1Char('=');
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == name && i + 1 < args.size()) {
            const QString value = args[i + 1];
            args.remove(i, 2);
            return value;
        }
        if (args[i].startsWith(joined)) {
            const QString value = args[i].mid(joined.size());
            args.remove(i);
            return value;
        }
    }
    return {};
}

}  // namespace

QString takeDataDir(QStringList& args, const QString& programDir)
{
    QString dir = takeOption(args, QStringLiteral("--data"));
    if (dir.isEmpty())
        dir = qEnvironmentVariable("VELTRON_DATA");
    if (dir.isEmpty())
        dir = defaultDataDir(programDir);
    return QFileInfo(dir).absoluteFilePath();
}

QString describeStore(const Source& source)
{
    if (source.dsn.isEmpty())
        return QStringLiteral("встроенная база данных папки «%1»").arg(QDir::toNativeSeparators(source.dataDir));
    return QStringLiteral("источник данных ODBC «%1»").arg(source.dsn);
}

QString takeDsn(QStringList& args)
{
    const QString dsn = takeOption(args, QStringLiteral("--dsn"));
    return dsn.isEmpty() ? qEnvironmentVariable("VELTRON_DSN") : dsn;
}

}  // namespace veltron::db
