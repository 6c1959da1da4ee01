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
//
// `prepare` is how the embedded store is opened: Prepare::Existing for a
// data folder the user named, where only init makes a store. A busy
// embedded store is not a reason to turn to another source.
struct OpenResult {
    std::unique_ptr<Store> store;
    ConnectionStrings connection;
    QString dataSourceName;   // the name tried: dsn, else the first line of the data-source file
    QString embeddedError;
    StoreError::Kind embeddedKind = StoreError::Kind::Other;
    QString embeddedDetail;
    QString namedError;
    QString namedDetail;
    // Connected to a named source whose database has none of the program's
    // tables: nothing was created in it.
    bool needsTables = false;
    // The store is the source named in "Data Source.txt", opened because
    // the embedded store failed (embeddedError says why).
    bool fellBack = false;
};
OpenResult openForDataFolder(const QString& dataDir, const QString& dsn = {},
                             Prepare prepare = Prepare::CreateAndSeed);
// For a store that fell back to the source of "Data Source.txt": why the
// embedded store did not open, and which source the program works with.
// Both programs say it, so that nobody takes the shared store for their own.
QString fallbackNotice(const OpenResult& r);

// The data folder of a program run: named by the user ("--data DIR",
// "--data=DIR" or VELTRON_DATA), or the default of db/program_folders.h
// (the program folder, or the user's data folder for an installed program).
// A named folder gets a store only when the user asks for one; the default
// one is made on first use, since it cannot be mistyped.
struct DataFolder {
    QString path;        // absolute; empty when --data was given without a folder
    bool named = false;
};
// Takes --data out of args; the folder is neither created nor looked at here.
DataFolder takeDataFolder(QStringList& args, const QString& programDir);
// The path of takeDataFolder, for callers that do not tell the two apart.
QString takeDataDir(QStringList& args, const QString& programDir);

// How messages name a store: the embedded one of its folder or the data source.
QString describeStore(const Source& source);

// The shared data source chosen on the command line ("--dsn NAME" or
// "--dsn=NAME", removed from args), else by VELTRON_DSN; empty: none.
QString takeDsn(QStringList& args);

}  // namespace veltron::db
