#pragma once

#include "db/store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <ostream>

namespace veltron::cli {

struct Context {
    db::Store& store;
    QString dataDir;
    std::ostream& out;
    std::ostream& err;
};

// A command gets the words after its name and returns the exit status.
using Command = std::function<int(Context&, const QStringList& args)>;

void registerCommand(const QString& name, const QString& usage, Command command);

// The data folder and the shared data source chosen (--data, --dsn), for
// the commands that open the stores themselves.
struct Choice {
    QString dataDir;
    QString dsn;  // empty: the embedded store of the data folder
    std::ostream& out;
    std::ostream& err;
};
using StoreCommand = std::function<int(const Choice&, const QStringList& args)>;
void registerStoreCommand(const QString& name, const QString& usage, StoreCommand command);

// The whole program: parses --data and --dsn, opens the store (the named
// source, else the embedded store of the data folder, creating it when
// needed), then runs the command. Exit status: the command's, or 1 for an
// unknown command or a store that cannot be opened.
int runCli(const QStringList& args, std::ostream& out, std::ostream& err);

// Writes a file that appears only complete; false when it cannot be written.
bool writeWholeFile(const QString& path, const QByteArray& bytes);

// Every command of the program; called once by runCli.
void registerBuiltinCommands();

}  // namespace veltron::cli
