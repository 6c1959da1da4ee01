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

// Opens the store of a data folder as the programs start: with a shared
// source named (dsn) that source alone; otherwise the embedded databases
// first, then the ODBC source named in "Data Source.txt". The store is null
// when nothing opens; the errors then say why.
struct OpenResult {
    std::unique_ptr<Store> store;
    ConnectionStrings connection;
    QString dataSourceName;   // the name tried: dsn, else the first line of the data-source file
    QString embeddedError;
    QString namedError;
    // Connected to a named source whose database has none of the program's
    // tables: nothing was created in it.
    bool needsTables = false;
};
OpenResult openForDataFolder(const QString& dataDir, const QString& dsn = {});

// The data folder chosen on the command line ("--data DIR" or "--data=DIR",
// removed from args), else by VELTRON_DATA, else the default of
// db/program_folders.h (the program folder, or the user's data folder for an
// installed program); as an absolute path. The folder is not created here.
QString takeDataDir(QStringList& args, const QString& programDir);

// How messages name a store: the embedded one of its folder or the data source.
QString describeStore(const Source& source);

// The shared data source chosen on the command line ("--dsn NAME" or
// "--dsn=NAME", removed from args), else by VELTRON_DSN; empty: none.
QString takeDsn(QStringList& args);

}  // namespace veltron::db
