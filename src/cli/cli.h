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
    bool verbose = false;  // --verbose: failures also say what the database said
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
    bool dataDirNamed = false;  // by --data or VELTRON_DATA, not the default folder
    bool verbose = false;
};
using StoreCommand = std::function<int(const Choice&, const QStringList& args)>;
void registerStoreCommand(const QString& name, const QString& usage, StoreCommand command);

// The whole program: parses --data, --dsn and --verbose; --help, -h and
// help print the usage and touch nothing; an unknown command is refused
// before any store is opened. Then it opens the store: the named source;
// else the embedded store of the data folder, which the default folder gets
// on first use but a folder named by --data or VELTRON_DATA only from init
// or copy-store; else the source named in "Data Source.txt", announced on
// err. Exit status: the command's, or 1 for an unknown command or a store
// that cannot be opened.
int runCli(const QStringList& args, std::ostream& out, std::ostream& err);

// A text from the command line or the store as a message repeats it:
// between «», control characters escaped, a long one cut, passwords masked.
std::string quoted(const QString& text);

// A failure of the store on err: its message, and with --verbose also what
// the database or its driver said.
void printStoreError(std::ostream& err, const db::StoreError& e, bool verbose);
inline void printStoreError(Context& ctx, const db::StoreError& e)
{
    printStoreError(ctx.err, e, ctx.verbose);
}

// The refusal of a number argument: "<what> «text» не является числом", or
// that it is out of range when it is a number too large or small to hold.
void printBadNumber(std::ostream& err, const QString& what, const QString& text);

// Writes an output file (a report, a picture) that appears only complete,
// never over a file that is not a regular one or that belongs to a store
// (db::reportTargetProblem). False, with the reason on err, when it is not
// written.
bool writeOutputFile(Context& ctx, const QString& path, const QByteArray& bytes);

// Every command of the program; called once by runCli.
void registerBuiltinCommands();

}  // namespace veltron::cli
