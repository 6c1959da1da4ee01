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

// The whole program: parses --data, opens (creating when needed) the store
// of the data folder, then runs the command. Exit status: the command's, or
// 1 for an unknown command or a store that cannot be opened.
int runCli(const QStringList& args, std::ostream& out, std::ostream& err);

// Writes a file that appears only complete; false when it cannot be written.
bool writeWholeFile(const QString& path, const QByteArray& bytes);

// Every command of the program; called once by runCli.
void registerBuiltinCommands();

}  // namespace veltron::cli
