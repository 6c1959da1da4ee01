#pragma once

#include <QString>
#include <QStringList>

namespace veltron::db {

// The process-wide record of which data source is in use, kept in the
// classic connection-string form so that it can be shown to the user.
struct ConnectionStrings {
    QString main;
    QString second;

    static ConnectionStrings embedded(const QString& dataDir);
    static ConnectionStrings namedReadWrite(const QString& dataDir, const QString& dsn);
    static ConnectionStrings namedProbe(const QString& dataDir, const QString& dsn);
    bool isEmbedded() const;
};

QString dataSourceFilePath(const QString& dataDir);
// First line of "Data Source.txt"; empty when the file is missing or unreadable.
QString readDataSourceName(const QString& dataDir);
// Writes the name without a line end, replacing the file; false on failure.
bool writeDataSourceName(const QString& dataDir, const QString& name);

}  // namespace veltron::db

#include "db/store.h"
#include <memory>

namespace veltron::db {

// Opens the store of a data folder as the program starts: the embedded
// databases first, then the ODBC source named in "Data Source.txt".
// Returns nullptr when neither opens; `reasons` then says why.
struct OpenResult {
    std::unique_ptr<Store> store;
    ConnectionStrings connection;
    QString dataSourceName;
    QString embeddedError;
    QString namedError;
};
OpenResult openForDataFolder(const QString& dataDir);

}  // namespace veltron::db

namespace veltron::db {

// The data folder chosen on the command line ("--data DIR" or "--data=DIR",
// removed from args), else by VELTRON_DATA, else the program folder; as an
// absolute path. The folder is not created here.
QString takeDataDir(QStringList& args, const QString& programDir);

}  // namespace veltron::db
