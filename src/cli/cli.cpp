#include "cli/cli.h"

#include "db/data_source.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <map>

namespace veltron::cli {

namespace {

struct Entry {
    QString usage;
    Command command;
    StoreCommand storeCommand;
};

std::map<QString, Entry>& commands()
{
    static std::map<QString, Entry> all;
    return all;
}

void printUsage(std::ostream& err)
{
    err << "Использование: veltron-cli [--data ПАПКА] [--dsn ИСТОЧНИК_ДАННЫХ] КОМАНДА [АРГУМЕНТЫ]\nКоманды:\n";
    for (const auto& [name, entry] : commands())
        err << "  " << entry.usage.toStdString() << "\n";
}

}  // namespace

void registerCommand(const QString& name, const QString& usage, Command command)
{
    commands()[name] = {usage, std::move(command), {}};
}

void registerStoreCommand(const QString& name, const QString& usage, StoreCommand command)
{
    commands()[name] = {usage, {}, std::move(command)};
}

bool writeWholeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

int runCli(const QStringList& arguments, std::ostream& out, std::ostream& err)
{
    static bool registered = false;
    if (!registered) {
        registerBuiltinCommands();
        registered = true;
    }
    if (arguments.value(0) == QLatin1String("--version")) {
        out << "veltron-cli " << VELTRON_VERSION << "\n";
        return 0;
    }
    QStringList args = arguments;
    const QString dataDir = db::takeDataDir(args, QCoreApplication::applicationDirPath());
    const QString dsn = db::takeDsn(args);
    if (!args.isEmpty()) {
        const auto it = commands().find(args.first());
        if (it != commands().end() && it->second.storeCommand)
            return it->second.storeCommand(Choice{dataDir, dsn, out, err}, args.mid(1));
    }
    if (dsn.isEmpty() && !QDir().mkpath(dataDir)) {
        err << "Не удалось создать папку данных «" << dataDir.toStdString() << "».\n";
        return 1;
    }
    db::OpenResult opened = db::openForDataFolder(dataDir, dsn);
    if (!opened.store) {
        err << "Не удалось открыть базу данных: ";
        if (dsn.isEmpty())
            err << opened.embeddedError.toStdString() << "\n";
        if (!opened.dataSourceName.isEmpty())
            err << opened.namedError.toStdString() << "\n";
        return 1;
    }
    if (opened.needsTables) {
        err << "В базе данных источника «" << opened.dataSourceName.toStdString()
            << "» нет таблиц программы. Создайте их командой: veltron-cli --dsn "
            << opened.dataSourceName.toStdString() << " init\n";
        return 1;
    }
    if (args.isEmpty()) {
        printUsage(err);
        return 1;
    }
    const auto it = commands().find(args.first());
    if (it == commands().end()) {
        err << "Неизвестная команда «" << args.first().toStdString() << "».\n";
        printUsage(err);
        return 1;
    }
    Context ctx{*opened.store, dataDir, out, err};
    return it->second.command(ctx, args.mid(1));
}

}  // namespace veltron::cli
