#include "cli/cli.h"

#include "calc/number_text.h"
#include "db/data_source.h"
#include "db/report_target.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

void printUsage(std::ostream& to)
{
    to << "Использование: veltron-cli [--data ПАПКА] [--dsn ИСТОЧНИК_ДАННЫХ] [--verbose] КОМАНДА [АРГУМЕНТЫ]\n"
          "  --data ПАПКА   папка данных (или переменная VELTRON_DATA); базу данных в ней создает только init\n"
          "  --verbose      при ошибке базы данных показать и сообщение самой базы данных\n"
          "  --help, -h, help   эта справка\n"
          "Команды:\n";
    for (const auto& [name, entry] : commands())
        to << "  " << entry.usage.toStdString() << "\n";
}

bool isHelp(const QString& word)
{
    return word == QLatin1String("--help") || word == QLatin1String("-h") || word == QLatin1String("help");
}

// Removes every occurrence of a flag; whether there was one.
bool takeFlag(QStringList& args, const QString& flag)
{
    return args.removeAll(flag) > 0;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The embedded store could not be opened and nothing else was: why, and for
// a named folder without a store, how to make one.
void printNotOpened(const Choice& c, const db::OpenResult& opened)
{
    c.err << "Не удалось открыть базу данных: ";
    if (c.dsn.isEmpty()) {
        c.err << opened.embeddedError.toStdString() << "\n";
        if (opened.embeddedKind == db::StoreError::Kind::NoStore)
            c.err << "Создать в этой папке новую базу данных: veltron-cli --data " << quoted(native(c.dataDir))
                  << " init\n";
        if (c.verbose && !opened.embeddedDetail.isEmpty())
            c.err << "  " << opened.embeddedDetail.toStdString() << "\n";
    }
    if (!opened.namedError.isEmpty()) {
        c.err << opened.namedError.toStdString() << "\n";
        if (c.verbose && !opened.namedDetail.isEmpty())
            c.err << "  " << opened.namedDetail.toStdString() << "\n";
    }
}

// The store of the command: the named source; the embedded store of a named
// folder, which must be there already; or that of the default folder, made
// on first use. Null, with the reason on err, when none opens.
std::unique_ptr<db::Store> openStore(const Choice& c)
{
    db::Prepare prepare = db::Prepare::Existing;
    if (c.dsn.isEmpty() && !c.dataDirNamed) {
        prepare = db::Prepare::CreateAndSeed;
        if (!QDir().mkpath(c.dataDir)) {
            c.err << "Не удалось создать папку данных " << quoted(native(c.dataDir)) << ".\n";
            return nullptr;
        }
    }
    db::OpenResult opened = db::openForDataFolder(c.dataDir, c.dsn, prepare);
    if (!opened.store) {
        printNotOpened(c, opened);
        return nullptr;
    }
    if (opened.fellBack) {
        c.err << "Внимание! " << db::fallbackNotice(opened).toStdString() << "\n";
        if (c.verbose && !opened.embeddedDetail.isEmpty())
            c.err << "  " << opened.embeddedDetail.toStdString() << "\n";
    }
    if (opened.needsTables) {
        c.err << "В базе данных источника " << quoted(opened.dataSourceName)
              << " нет таблиц программы. Создайте их командой: veltron-cli --dsn "
              << db::shownText(opened.dataSourceName).toStdString() << " init\n";
        return nullptr;
    }
    return std::move(opened.store);
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

std::string quoted(const QString& text)
{
    return ("«" + db::shownText(text) + "»").toStdString();
}

void printStoreError(std::ostream& err, const db::StoreError& e, bool verbose)
{
    err << e.message().toStdString() << "\n";
    if (verbose && !e.detail().isEmpty())
        err << "  " << e.detail().toStdString() << "\n";
}

void printBadNumber(std::ostream& err, const QString& what, const QString& text)
{
    err << what.toStdString() << " " << quoted(text)
        << (calc::numberOutOfRange(text) ? " — число вне допустимого диапазона.\n" : " не является числом.\n");
}

bool writeOutputFile(Context& ctx, const QString& path, const QByteArray& bytes)
{
    const QString failure = db::writeReportFile(path, bytes, ctx.dataDir);
    if (failure.isEmpty())
        return true;
    ctx.err << "Ошибка в процессе сохранения файла: " << failure.toStdString() << "\n";
    return false;
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
    const bool verbose = takeFlag(args, QStringLiteral("--verbose"));
    const db::DataFolder folder = db::takeDataFolder(args, QCoreApplication::applicationDirPath());
    const QString dsn = db::takeDsn(args);
    if (args.isEmpty()) {
        printUsage(err);
        return 1;
    }
    if (isHelp(args.first())) {
        printUsage(out);
        return 0;
    }
    const auto it = commands().find(args.first());
    if (it == commands().end()) {
        err << "Неизвестная команда " << quoted(args.first()) << ".\n";
        printUsage(err);
        return 1;
    }
    if (folder.path.isEmpty()) {
        err << "После --data не указана папка данных.\n";
        return 1;
    }
    const Choice choice{folder.path, dsn, out, err, folder.named, verbose};
    if (it->second.storeCommand)
        return it->second.storeCommand(choice, args.mid(1));
    const std::unique_ptr<db::Store> store = openStore(choice);
    if (!store)
        return 1;
    Context ctx{*store, folder.path, out, err, verbose};
    return it->second.command(ctx, args.mid(1));
}

}  // namespace veltron::cli
