// veltron-cli init and copy-store: creating the tables of a store and moving
// the data between the embedded store and a shared data source.
#include "cli/cli.h"
#include "cli/json_writer.h"

#include "db/copy_store.h"
#include "db/data_source.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace veltron::cli {

namespace {

void printTables(std::ostream& out, const QList<db::CopiedTable>& tables)
{
    JsonWriter w;
    w.beginArray();
    for (const db::CopiedTable& t : tables) {
        w.beginObject();
        w.member("table", t.table);
        w.member("rows", t.rows);
        w.endObject();
    }
    w.endArray();
    out << w.text() << "\n";
}

// The rows of every table of the store, as copy-store prints them.
QList<db::CopiedTable> tablesOf(const db::Store& store)
{
    QList<db::CopiedTable> tables;
    for (const auto& [name, rows] : store.rowCounts())
        tables << db::CopiedTable{name, rows};
    return tables;
}

// Shows on a terminal how far the copy of each table has come, on one line per table.
std::function<void(const db::CopyProgress&)> progressOn(std::ostream& err)
{
    return [&err](const db::CopyProgress& p) {
        err << "\r" << p.table.toStdString() << ": " << p.copied << " из " << p.rows << " строк";
        err << (p.finished ? "\n" : "") << std::flush;
    };
}

std::unique_ptr<db::Store> openFolderStore(const QString& dataDir, db::Prepare prepare)
{
    if (!QDir().mkpath(dataDir))
        throw db::StoreError(
            QStringLiteral("Не удалось создать папку данных «%1».").arg(db::shownText(QDir::toNativeSeparators(dataDir))));
    return db::Store::openEmbedded(dataDir, prepare);
}

bool holdsStoreFiles(const QDir& dir)
{
    return dir.exists(QStringLiteral("bdVeltron.sqlite")) || dir.exists(QStringLiteral("tabMirvel.sqlite"));
}

// A copy from a server makes a store only in a new or empty folder (or one
// with just the name of a data source), or over a store: a folder that the
// user named and that holds other files is more likely a mistyped one.
bool emptyEnoughForCopy(const QString& dataDir)
{
    const QDir dir(dataDir);
    if (!dir.exists() || holdsStoreFiles(dir))
        return true;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    return entries.isEmpty() || entries == QStringList{QStringLiteral("Data Source.txt")};
}

int initCommand(const Choice& c, const QStringList& args)
{
    if (!args.isEmpty()) {
        c.err << "Использование: veltron-cli [--data ПАПКА | --dsn ИСТОЧНИК_ДАННЫХ] init\n";
        return 1;
    }
    try {
        const auto store = c.dsn.isEmpty() ? openFolderStore(c.dataDir, db::Prepare::Nothing)
                                           : db::Store::openOdbc(c.dataDir, c.dsn);
        if (store->hasAllTables()) {
            c.err << "В базе данных (" << db::describeStore(store->source()).toStdString()
                  << ") уже есть таблицы программы: она оставлена как есть.\n";
            return 1;
        }
        // A store that an interrupted init left partly made is completed.
        store->createSchema(true);
        printTables(c.out, tablesOf(*store));
        return 0;
    } catch (const db::StoreError& e) {
        printStoreError(c.err, e, c.verbose);
        return 1;
    }
}

int copyStoreCommand(const Choice& c, const QStringList& args)
{
    QString to, from;
    bool replace = false;
    bool ok = true;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--to") && i + 1 < args.size())
            to = args[++i];
        else if (args[i] == QLatin1String("--from") && i + 1 < args.size())
            from = args[++i];
        else if (args[i] == QLatin1String("--replace"))
            replace = true;
        else
            ok = false;
    }
    if (!ok || to.isEmpty() == from.isEmpty()) {
        c.err << "Использование: veltron-cli [--data ПАПКА] copy-store --to ИСТОЧНИК_ДАННЫХ [--replace] | "
                 "copy-store --from ИСТОЧНИК_ДАННЫХ [--replace]\n";
        return 1;
    }
    try {
        std::unique_ptr<db::Store> source, target;
        if (!to.isEmpty()) {
            if (!QFile::exists(QDir(c.dataDir).filePath(QStringLiteral("bdVeltron.sqlite")))) {
                c.err << "В папке данных " << quoted(QDir::toNativeSeparators(c.dataDir))
                      << " нет базы данных программы: копировать нечего.\n";
                return 1;
            }
            source = db::Store::openEmbedded(c.dataDir, db::Prepare::Existing);
            target = db::Store::openOdbc(c.dataDir, to);
        } else {
            if (c.dataDirNamed && !emptyEnoughForCopy(c.dataDir)) {
                c.err << "Папка данных " << quoted(QDir::toNativeSeparators(c.dataDir))
                      << " не пуста, а базы данных программы в ней нет: копия в нее не записывается. Укажите новую "
                         "или пустую папку.\n";
                return 1;
            }
            source = db::Store::openOdbc(c.dataDir, from);
            target = openFolderStore(c.dataDir, db::Prepare::Nothing);
        }
        if (!replace && target->hasTables() && !target->isEmpty()) {
            c.err << "В базе данных назначения (" << db::describeStore(target->source()).toStdString()
                  << ") уже есть данные: копирование не выполнено. Чтобы заменить их, повторите команду "
                     "с ключом --replace.\n";
            return 1;
        }
        printTables(c.out, db::copyStore(*source, *target, isatty(STDERR_FILENO) ? progressOn(c.err) : nullptr));
        return 0;
    } catch (const db::StoreError& e) {
        printStoreError(c.err, e, c.verbose);
        return 1;
    }
}

}  // namespace

void registerStoreCommands()
{
    registerStoreCommand(QStringLiteral("init"),
                         QStringLiteral("init — создать базу данных в папке данных (единственный способ для папки, "
                                        "заданной --data или VELTRON_DATA) или достроить прерванную; с --dsn — "
                                        "таблицы и справочники в базе источника данных"),
                         initCommand);
    registerStoreCommand(QStringLiteral("copy-store"),
                         QStringLiteral("copy-store --to|--from ИСТОЧНИК_ДАННЫХ [--replace] — скопировать все "
                                        "таблицы встроенной базы папки данных в источник данных или обратно (--from "
                                        "создает базу в новой или пустой папке)"),
                         copyStoreCommand);
}

}  // namespace veltron::cli
