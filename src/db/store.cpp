#include "db/store.h"

#include "db/csv.h"
#include "db/rows.h"
#include "db/schema.h"

#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QRegularExpression>

#include <sqlite3.h>

#include <atomic>
#include <map>

namespace veltron::db {

namespace {

// The values of Password= and PWD= replaced by "***". In a connection
// string a value runs to the next ";" (or is a braced {…} that may hold
// one); inside a message it also ends at the quote or line that closes the
// repeated connection string.
QString masked(const QString& text, bool insideMessage)
{
    static const QRegularExpression inString(QStringLiteral(R"(\b(password|pwd)(\s*=\s*)(\{[^}]*\}?|[^;]*))"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression inMessage(QStringLiteral(R"(\b(password|pwd)(\s*=\s*)(\{[^}]*\}?|[^;»"'\n]*))"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString out = text;
    out.replace(insideMessage ? inMessage : inString, QStringLiteral("\\1\\2***"));
    return out;
}

}  // namespace

StoreError::StoreError(const QString& message, Kind kind, const QString& detail)
    : std::runtime_error(masked(message, true).toStdString()),
      message_(masked(message, true)),
      detail_(masked(detail, true)),
      kind_(kind)
{
}

QString maskSecrets(const QString& text)
{
    return masked(text, false);
}

QString shownText(const QString& text)
{
    constexpr qsizetype kLongest = 200;
    const QString masked = maskSecrets(text);
    QString shown;
    for (qsizetype i = 0; i < masked.size() && i < kLongest; ++i) {
        const QChar c = masked[i];
        if (c == QLatin1Char('\n'))
            shown += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            shown += QStringLiteral("\\t");
        else if (c == QLatin1Char('\r'))
            shown += QStringLiteral("\\r");
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f || (c.unicode() >= 0x80 && c.unicode() < 0xa0))
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c.category() == QChar::Other_Format || c.category() == QChar::Other_Control)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    if (masked.size() > kLongest) {
        if (shown.back().isHighSurrogate())
            shown.chop(1);  // half of a character cut in two
        shown += QStringLiteral("… (всего символов: %1)").arg(masked.size());
    }
    return shown;
}

namespace {

std::atomic<int> connectionCounter{0};

// Our SQLite files carry this mark in their header (PRAGMA application_id,
// "Velt") and the version of the schema in user_version.
constexpr int kApplicationId = 0x56656c74;
constexpr int kSchemaVersion = 1;
// The second database is attached to the connection of the main one under
// this name, so that one transaction, and one commit, covers both files.
const QString kSecondSchema = QStringLiteral("mirvel");

QString newConnectionName(const char* tag)
{
    return QStringLiteral("veltron-%1-%2").arg(QLatin1String(tag)).arg(++connectionCounter);
}

QString fileOf(Base base)
{
    return base == Base::Main ? QStringLiteral("bdVeltron.sqlite") : QStringLiteral("tabMirvel.sqlite");
}

QString schemaOf(Base base)
{
    return base == Base::Main ? QStringLiteral("main") : kSecondSchema;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Everything the driver said, for the detail of a message.
QString errorText(const QSqlError& e)
{
    QStringList parts;
    for (const QString& t : {e.driverText().trimmed(), e.databaseText().trimmed()})
        if (!t.isEmpty())
            parts << t;
    if (!e.nativeErrorCode().isEmpty())
        parts << QStringLiteral("(%1)").arg(e.nativeErrorCode());
    return parts.join(QLatin1Char(' '));
}

// The primary result code of SQLite behind an error; -1 when there is none.
int sqliteCode(const QSqlError& e)
{
    bool ok = false;
    const int code = e.nativeErrorCode().toInt(&ok);
    if (ok)
        return code & 0xff;
    // Some errors reach us without their code: told by SQLite's own text.
    const struct {
        const char* text;
        int code;
    } texts[] = {{"database is locked", 5},  {"database table is locked", 6}, {"disk is full", 13},
                 {"readonly database", 8},   {"disk I/O error", 10},         {"not a database", 26},
                 {"malformed", 11},          {"unable to open", 14}};
    for (const auto& t : texts)
        if (e.databaseText().contains(QLatin1String(t.text), Qt::CaseInsensitive))
            return t.code;
    return -1;
}

QString capitalized(const QString& text)
{
    return text.left(1).toUpper() + text.mid(1);
}

// An error of an embedded store in the program's words. `where` names the
// store ("база данных …"); `what` is said when the code tells nothing more
// particular.
StoreError sqliteError(const QString& where, const QString& what, const QSqlError& e)
{
    using K = StoreError::Kind;
    const QString detail = errorText(e);
    switch (sqliteCode(e)) {
    case 5:   // SQLITE_BUSY
    case 6:   // SQLITE_LOCKED
        return StoreError(QStringLiteral("Сейчас %1 занята другой программой. Повторите действие немного позже.")
                              .arg(where),
                          K::Busy, detail);
    case 11:  // SQLITE_CORRUPT
    case 26:  // SQLITE_NOTADB
        return StoreError(QStringLiteral("%1 не читается: файл повреждён или не является базой данных.")
                              .arg(capitalized(where)),
                          K::Damaged, detail);
    case 13:  // SQLITE_FULL
        return StoreError(QStringLiteral("На диске не хватает места, %1 не изменена. Освободите место на диске и "
                                         "повторите действие.")
                              .arg(where),
                          K::DiskFull, detail);
    case 8:   // SQLITE_READONLY
        return StoreError(QStringLiteral("%1 открыта только для чтения: изменения не сохранены.").arg(capitalized(where)),
                          K::ReadOnly, detail);
    case 10:  // SQLITE_IOERR
        return StoreError(QStringLiteral("Ошибка чтения или записи на диск, %1 не изменена.").arg(where), K::Other,
                          detail);
    case 14:  // SQLITE_CANTOPEN
        return StoreError(QStringLiteral("%1 не открывается: проверьте права на файлы базы данных и на их папку.")
                              .arg(capitalized(where)),
                          K::ReadOnly, detail);
    default:
        return StoreError(what, K::Other, detail);
    }
}

// An error of a server store in the program's words. The driver gives no
// code of the server's error, so the few that the user can act on are told
// by the server's text, in English or in Russian.
StoreError serverError(const QString& where, const QString& what, const QSqlError& e, int lockWaitMs = 0)
{
    using K = StoreError::Kind;
    const QString detail = errorText(e);
    const auto says = [&](std::initializer_list<const char*> words) {
        for (const char* w : words)
            if (detail.contains(QString::fromUtf8(w), Qt::CaseInsensitive))
                return true;
        return false;
    };
    if (says({"lock timeout", "55P03", "тайм-аут блокировки"}))
        return StoreError(QStringLiteral("Данные, которые нужно изменить, дольше %1 с заняты другим пользователем "
                                         "базы данных %2. Действие не выполнено: повторите его немного позже.")
                              .arg((lockWaitMs + 999) / 1000)
                              .arg(where),
                          K::LockTimeout, detail);
    if (says({"deadlock", "40P01", "взаимоблокировка"}))
        return StoreError(QStringLiteral("База данных %1 занята другим пользователем. Повторите действие.").arg(where),
                          K::Busy, detail);
    if (says({"permission denied", "42501", "нет доступа", "нет прав"}))
        return StoreError(QStringLiteral("У пользователя базы данных %1 нет прав на это действие. Попросите "
                                         "администратора базы данных выдать права на таблицы программы.")
                              .arg(where),
                          K::Permission, detail);
    return StoreError(what, K::Other, detail);
}

QVariant seedValue(const FieldDef* field, const QString& text)
{
    if (text.isEmpty())
        return QVariant();
    if (!field)
        return text;
    switch (field->type) {
    case FieldType::Integer:
    case FieldType::Double: {
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (!ok)
            throw StoreError(QStringLiteral("Ошибка в исходных данных: «%1» в поле %2 не является числом.")
                                 .arg(text, field->name));
        if (field->type == FieldType::Integer)
            return QVariant(qint64(v));
        return QVariant(v);
    }
    default:
        return text;
    }
}

void loadSeedTable(Store& store, const TableDef& table, const QString& into, const QString& resource)
{
    QFile f(resource);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const CsvTable csv = parseCsv(QString::fromUtf8(f.readAll()), QFileInfo(resource).fileName());
    if (csv.header.isEmpty())
        return;
    std::vector<const FieldDef*> fields;
    QStringList marks;
    for (const auto& h : csv.header) {
        const FieldDef* fd = findField(table, h);
        if (!fd)
            throw StoreError(QStringLiteral("Ошибка в исходных данных «%1»: в таблице %2 нет поля %3.")
                                 .arg(QFileInfo(resource).fileName(), table.name, h));
        fields.push_back(fd);
        marks << QStringLiteral("?");
    }
    QList<QVariantList> rows;
    for (const auto& row : csv.rows) {
        QVariantList values;
        for (int i = 0; i < row.size(); ++i)
            values << seedValue(fields[i], row[i]);
        rows << values;
    }
    store.execRows(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(into, csv.header.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                   rows, table.base);
}

int rowCount(const Store& store, const TableDef& table)
{
    return store.query(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table.name), {}, table.base)
        .first().value(0).toInt();
}

void ensureRequiredRows(Store& store)
{
    if (rowCount(store, *findTable(QStringLiteral("tab_time"))) == 0)
        store.exec(QStringLiteral("INSERT INTO tab_time (Id, Time_nast) VALUES (?, ?)"),
                   {0.0, QDateTime::currentDateTime()});
    if (rowCount(store, *findTable(QStringLiteral("tabPath"))) == 0)
        store.exec(QStringLiteral("INSERT INTO tabPath (Path) VALUES (?)"), {QString()});
}

// Calculations are read by identifier all the time: keep those lookups indexed.
void createIndexes(Store& store)
{
    for (const char* sql : {"CREATE INDEX IF NOT EXISTS ix_tabBloki_rasch ON tabBloki (Id_Rasch, Id)",
                            "CREATE INDEX IF NOT EXISTS ix_tabMain_id ON tabMain (Id)",
                            "CREATE INDEX IF NOT EXISTS ix_tabRasch_id ON tabRasch (Id)"})
        store.exec(QLatin1String(sql));
}

// Runs a statement on a connection outside the Store's helpers: at opening,
// before the Store exists.
QSqlQuery runOn(const QSqlDatabase& db, const QString& sql, const std::function<StoreError(const QSqlError&)>& error)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        throw error(q.lastError());
    return q;
}

// The tables of a server database that statements see without a schema
// name, as the program names them.
QStringList serverTables(const QSqlDatabase& db, const QString& where)
{
    QStringList names;
    if (db.driver()->dbmsType() == QSqlDriver::PostgreSQL) {
        QSqlQuery q = runOn(db,
                            QStringLiteral("SELECT table_name FROM information_schema.tables "
                                           "WHERE table_schema = ANY (current_schemas(false))"),
                            [&](const QSqlError& e) {
                                return serverError(where, QStringLiteral("Не удалось прочитать список таблиц базы "
                                                                         "данных %1.")
                                                              .arg(where),
                                                   e);
                            });
        while (q.next())
            names << q.value(0).toString();
    } else {
        names = db.tables();
    }
    return names;
}

// The program's tables of a base among the names of a database's tables.
QStringList programTables(const QStringList& names, Base base)
{
    QStringList found;
    for (const QString& n : names)
        if (const TableDef* t = findTable(n); t && t->base == base && !found.contains(t->name))
            found << t->name;
    return found;
}

void closeConnection(const QString& name)
{
    if (name.isEmpty() || !QSqlDatabase::contains(name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// ----- The embedded files: what is in them before anything is written.

// The mark and the tables of one file attached to a connection.
struct FileLook {
    int applicationId = 0;
    int version = 0;
    QStringList tables;  // SQLite's own tables left out
};

FileLook lookAt(const QSqlDatabase& db, const QString& schema, const QString& path)
{
    const auto error = [&](const QSqlError& e) {
        return sqliteError(QStringLiteral("база данных «%1»").arg(native(path)),
                           QStringLiteral("Не удалось прочитать файл «%1».").arg(native(path)), e);
    };
    FileLook look;
    QSqlQuery id = runOn(db, QStringLiteral("PRAGMA %1.application_id").arg(schema), error);
    look.applicationId = id.next() ? id.value(0).toInt() : 0;
    QSqlQuery version = runOn(db, QStringLiteral("PRAGMA %1.user_version").arg(schema), error);
    look.version = version.next() ? version.value(0).toInt() : 0;
    QSqlQuery tables = runOn(db,
                             QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table' "
                                            "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'")
                                 .arg(schema),
                             error);
    while (tables.next())
        look.tables << tables.value(0).toString();
    return look;
}

// Whether a file without the mark is a store of this program that was made
// before stores were marked: every table is one of the program's tables of
// that base, with every field it had from the start.
bool madeByThisProgram(const QSqlDatabase& db, const QString& schema, const FileLook& look, Base base)
{
    for (const QString& name : look.tables) {
        const TableDef* table = findTable(name);
        if (!table || table->base != base)
            return false;
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT * FROM %1.\"%2\" WHERE 1 = 0").arg(schema, name)))
            return false;
        const QSqlRecord columns = probe.record();
        for (const FieldDef& f : table->fields)
            if (!f.addedLater && columns.indexOf(f.name) < 0)
                return false;
    }
    return true;
}

// Refuses a file that is not this program's store; true when it holds no
// table at all (a new or empty file).
bool checkOwner(const QSqlDatabase& db, const QString& schema, const QString& path, Base base)
{
    const FileLook look = lookAt(db, schema, path);
    if (look.applicationId == kApplicationId) {
        if (look.version > kSchemaVersion)
            throw StoreError(QStringLiteral("База данных «%1» создана более новой версией программы: эта версия "
                                            "её не открывает, чтобы не повредить. Обновите программу.")
                                 .arg(native(path)),
                             StoreError::Kind::Foreign);
        return look.tables.isEmpty();
    }
    if (look.applicationId == 0 && look.tables.isEmpty())
        return true;
    if (look.applicationId == 0 && madeByThisProgram(db, schema, look, base))
        return false;
    throw StoreError(QStringLiteral("Файл «%1» — база данных другой программы, а не «Вельтрон»: он оставлен без "
                                    "изменений. Укажите другую папку данных или уберите этот файл из папки.")
                         .arg(native(path)),
                     StoreError::Kind::Foreign,
                     QStringLiteral("application_id %1, tables: %2")
                         .arg(look.applicationId)
                         .arg(look.tables.join(QStringLiteral(", "))));
}

StoreError noStore(const QString& dataDir, bool folderMissing)
{
    return StoreError(folderMissing ? QStringLiteral("Папка данных «%1» не найдена.").arg(native(dataDir))
                                    : QStringLiteral("В папке данных «%1» нет базы данных программы.")
                                          .arg(native(dataDir)),
                      StoreError::Kind::NoStore);
}

// What must hold of the files and their folder before SQLite opens them: a
// file that cannot be written is named as such, its folder only when the
// folder is what cannot be written (SQLite writes its journal beside the files).
void checkFiles(const QString& dataDir, Prepare prepare)
{
    const QFileInfo dir(dataDir);
    if (!dir.exists())
        throw noStore(dataDir, true);
    if (!dir.isDir())
        throw StoreError(QStringLiteral("«%1» — не папка: в ней не может быть базы данных.").arg(native(dataDir)));
    const QString mainPath = QDir(dataDir).filePath(fileOf(Base::Main));
    if (prepare == Prepare::Existing && !QFileInfo::exists(mainPath))
        throw noStore(dataDir, false);
    for (const Base base : {Base::Main, Base::Second}) {
        const QFileInfo file(QDir(dataDir).filePath(fileOf(base)));
        if (!file.exists())
            continue;
        if (!file.isFile())
            throw StoreError(QStringLiteral("«%1» — не файл базы данных, а папка или особый файл.")
                                 .arg(native(file.filePath())),
                             StoreError::Kind::Foreign);
        if (!file.isWritable())
            throw StoreError(QStringLiteral("Файл базы данных «%1» доступен только для чтения: программа не может "
                                            "сохранять в нём изменения. Разрешите запись в этот файл.")
                                 .arg(native(file.filePath())),
                             StoreError::Kind::ReadOnly);
    }
    if (!dir.isWritable())
        throw StoreError(QStringLiteral("В папку данных «%1» нельзя записывать: база данных в ней не может быть "
                                        "открыта. Разрешите запись в эту папку.")
                             .arg(native(dataDir)),
                         StoreError::Kind::ReadOnly);
}

// Removes a file that opening created and left empty, so that a refused or
// failed opening leaves the folder as it was.
void removeIfMadeEmpty(const QString& path, bool existed)
{
    if (!existed && QFileInfo(path).size() == 0)
        QFile::remove(path);
}

}  // namespace

Store::Store(Source source, QString mainConnection, QString secondConnection)
    : source_(std::move(source)), main_(std::move(mainConnection)), second_(std::move(secondConnection)),
      lockWait_(source_.dsn.isEmpty() ? kBusyWaitMs : kLockWaitMs)
{
}

Store::~Store()
{
    closeConnection(main_);
    if (second_ != main_)
        closeConnection(second_);
}

std::unique_ptr<Store> Store::openEmbedded(const QString& dataDir, Prepare prepare)
{
    checkFiles(dataDir, prepare);
    const QString mainPath = QDir(dataDir).filePath(fileOf(Base::Main));
    const QString secondPath = QDir(dataDir).filePath(fileOf(Base::Second));
    const bool mainExisted = QFileInfo::exists(mainPath);
    const bool secondExisted = QFileInfo::exists(secondPath);
    const QString name = newConnectionName("sqlite");
    std::unique_ptr<Store> store;
    try {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(mainPath);
            store.reset(new Store({dataDir, {}}, name, name));
            if (!db.open())
                throw sqliteError(QStringLiteral("база данных «%1»").arg(native(mainPath)),
                                  QStringLiteral("Не удалось открыть базу данных «%1».").arg(native(mainPath)),
                                  db.lastError());
            store->applyLockWait(db);
            const bool mainEmpty = checkOwner(db, QStringLiteral("main"), mainPath, Base::Main);
            if (prepare == Prepare::Existing && mainEmpty)
                throw noStore(dataDir, false);
            QSqlQuery attach(db);
            attach.prepare(QStringLiteral("ATTACH DATABASE ? AS %1").arg(kSecondSchema));
            attach.addBindValue(secondPath);
            if (!attach.exec())
                throw sqliteError(QStringLiteral("база данных «%1»").arg(native(secondPath)),
                                  QStringLiteral("Не удалось открыть базу данных «%1».").arg(native(secondPath)),
                                  attach.lastError());
            checkOwner(db, kSecondSchema, secondPath, Base::Second);
            // One commit covers both files only with a rollback journal.
            for (const QString& schema : {QStringLiteral("main"), kSecondSchema}) {
                QSqlQuery mode(db);
                if (mode.exec(QStringLiteral("PRAGMA %1.journal_mode").arg(schema)) && mode.next()
                    && mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
                    runOn(db, QStringLiteral("PRAGMA %1.journal_mode = DELETE").arg(schema), [&](const QSqlError& e) {
                        return sqliteError(QStringLiteral("база данных папки «%1»").arg(native(dataDir)),
                                           QStringLiteral("Не удалось открыть базу данных папки «%1».")
                                               .arg(native(dataDir)),
                                           e);
                    });
            }
        }
        if (prepare != Prepare::Nothing && !store->schemaComplete())
            store->createSchema(true);
    } catch (...) {
        if (store)
            store.reset();
        else
            closeConnection(name);
        removeIfMadeEmpty(secondPath, secondExisted);
        removeIfMadeEmpty(mainPath, mainExisted);
        throw;
    }
    return store;
}

namespace {

// The rights the server's user lacks on the program's tables in the schemas
// its statements look into (the user's name first, then one text per
// schema or set of rights; empty when none is missing): a table hidden by
// missing rights must not pass for a missing one (init would make a second
// store beside it).
QStringList unusableServerTables(const QSqlDatabase& db, const QString& where)
{
    const auto error = [&](const QSqlError& e) {
        return serverError(where, QStringLiteral("Не удалось прочитать список таблиц базы данных %1.").arg(where), e);
    };
    QSqlQuery setting = runOn(db, QStringLiteral("SELECT current_setting('search_path'), current_user"), error);
    if (!setting.next())
        return {};
    const QString user = setting.value(1).toString();
    QStringList schemas;
    for (QString s : setting.value(0).toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        s = s.trimmed();
        if (s.startsWith(QLatin1Char('"')) && s.endsWith(QLatin1Char('"')) && s.size() >= 2)
            s = s.mid(1, s.size() - 2);
        schemas << (s == QLatin1String("$user") ? user : s);
    }
    QStringList names;
    for (const TableDef& t : schema())
        names << t.name.toLower();
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "SELECT n.nspname, c.relname, "
        "CASE WHEN has_schema_privilege(n.oid, 'USAGE') THEN 1 ELSE 0 END, "
        "CASE WHEN has_table_privilege(c.oid, 'SELECT') THEN 1 ELSE 0 END, "
        "CASE WHEN has_table_privilege(c.oid, 'INSERT') THEN 1 ELSE 0 END, "
        "CASE WHEN has_table_privilege(c.oid, 'UPDATE') THEN 1 ELSE 0 END, "
        "CASE WHEN has_table_privilege(c.oid, 'DELETE') THEN 1 ELSE 0 END "
        "FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n ON n.oid = c.relnamespace "
        "WHERE c.relkind IN ('r', 'p') AND n.nspname = ANY (string_to_array(?, ',')) "
        "AND c.relname = ANY (string_to_array(?, ',')) ORDER BY n.nspname, c.relname"));
    q.addBindValue(schemas.join(QLatin1Char(',')));
    q.addBindValue(names.join(QLatin1Char(',')));
    if (!q.exec())
        throw error(q.lastError());
    // What is missing, in the words of the message: per schema either its
    // USAGE or, per set of missing rights, the tables that lack them.
    std::map<QString, std::map<QString, QStringList>> missing;
    const char* const rights[] = {"SELECT", "INSERT", "UPDATE", "DELETE"};
    while (q.next()) {
        const QString schemaName = q.value(0).toString();
        if (q.value(2).toInt() == 0) {
            missing[schemaName][QString()];
            continue;
        }
        QStringList lacking;
        for (int i = 0; i < 4; ++i)
            if (q.value(3 + i).toInt() == 0)
                lacking << QLatin1String(rights[i]);
        if (!lacking.isEmpty()) {
            const TableDef* table = findTable(q.value(1).toString());
            missing[schemaName][lacking.join(QStringLiteral(", "))] << (table ? table->name : q.value(1).toString());
        }
    }
    QStringList parts;
    for (const auto& [schemaName, sets] : missing) {
        if (sets.count(QString())) {
            parts << QStringLiteral("нет права USAGE на схему «%1»").arg(schemaName);
            continue;
        }
        for (const auto& [lacking, tables] : sets) {
            QStringList shown = tables.mid(0, 4);
            if (tables.size() > 4)
                shown << QStringLiteral("ещё %1").arg(tables.size() - 4);
            parts << QStringLiteral("нет прав %1 на таблицы %2 (схема «%3»)")
                         .arg(lacking, shown.join(QStringLiteral(", ")), schemaName);
        }
    }
    if (!parts.isEmpty())
        parts.prepend(user);
    return parts;
}

StoreError permissionError(const QString& dsn, const QStringList& unusable)
{
    return StoreError(QStringLiteral("Таблицы программы в базе данных источника «%1» есть, но у пользователя «%2» "
                                     "нет прав на них: %3. Попросите администратора базы данных выдать права SELECT, "
                                     "INSERT, UPDATE, DELETE на таблицы программы (и USAGE на их схему). Новые "
                                     "таблицы рядом с ними не создаются.")
                          .arg(dsn, unusable.first(), unusable.mid(1).join(QStringLiteral("; "))),
                      StoreError::Kind::Permission);
}

}  // namespace

std::unique_ptr<Store> Store::openOdbc(const QString& dataDir, const QString& dsn)
{
    if (dsn.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Имя источника данных ODBC не задано."));
    const QString name = newConnectionName("odbc");
    std::unique_ptr<Store> store;
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
        db.setDatabaseName(dsn);
        store.reset(new Store({dataDir, dsn}, name, name));
        if (!db.open()) {
            const QString detail = errorText(db.lastError());
            if (detail.contains(QLatin1String("IM002")) || detail.contains(QLatin1String("Data source name not found"), Qt::CaseInsensitive))
                throw StoreError(QStringLiteral("Источник данных ODBC «%1» не найден: опишите его в odbc.ini "
                                                "(/etc/odbc.ini или ~/.odbc.ini) или проверьте его имя.")
                                     .arg(shownText(dsn)),
                                 StoreError::Kind::Other, detail);
            throw StoreError(QStringLiteral("Не удалось подключиться к источнику данных «%1»: сервер базы данных "
                                            "недоступен или отказал в подключении. Проверьте, что сервер работает, "
                                            "и параметры источника данных (сервер, порт, база данных, пользователь).")
                                 .arg(shownText(dsn)),
                             StoreError::Kind::Other, detail);
        }
        store->applyLockWait(db);
        if (db.driver()->dbmsType() == QSqlDriver::PostgreSQL)
            if (const QStringList unusable = unusableServerTables(db, QStringLiteral("«%1»").arg(shownText(dsn)));
                !unusable.isEmpty())
                throw permissionError(shownText(dsn), unusable);
    } catch (...) {
        if (store)
            store.reset();
        else
            closeConnection(name);
        throw;
    }
    if (store->hasTables() && !store->schemaComplete())
        store->createSchema(true);
    return store;
}

std::unique_ptr<Store> Store::open(const Source& source)
{
    return source.dsn.isEmpty() ? openEmbedded(source.dataDir) : openOdbc(source.dataDir, source.dsn);
}

QString Store::connectionName(Base base) const
{
    return base == Base::Main ? main_ : second_;
}

void Store::applyLockWait(QSqlDatabase& db) const
{
    QSqlQuery q(db);
    if (isEmbedded())
        q.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(lockWait_));
    else if (db.driver()->dbmsType() == QSqlDriver::PostgreSQL)
        q.exec(QStringLiteral("SET lock_timeout = %1").arg(lockWait_));
}

void Store::setLockWait(int milliseconds)
{
    lockWait_ = milliseconds;
    QSqlDatabase db = database(Base::Main);
    applyLockWait(db);
}

QSqlDatabase Store::database(Base base) const
{
    QSqlDatabase db = QSqlDatabase::database(connectionName(base), false);
    if (!db.isOpen()) {
        if (!db.open())
            throw StoreError(QStringLiteral("Нет связи с базой данных «%1». Проверьте, что сервер базы данных "
                                            "работает, и повторите действие.")
                                 .arg(shownText(source_.dsn)),
                             StoreError::Kind::Lost, errorText(db.lastError()));
        applyLockWait(db);
    }
    return db;
}

bool Store::lost(Base base) const
{
    if (isEmbedded())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connectionName(base), false);
    if (db.isOpen()) {
        QSqlQuery probe(db);
        if (probe.exec(QStringLiteral("SELECT 1")))
            return false;
    }
    db.close();
    return true;
}

StoreError Store::lostError(const QString& detail) const
{
    return StoreError(QStringLiteral("Связь с базой данных «%1» прервана.\nДействие не выполнено. Повторите его: "
                                     "программа подключится к базе данных заново.")
                          .arg(shownText(source_.dsn)),
                      StoreError::Kind::Lost, detail);
}

void Store::fail(Base base, const QString& what, const QSqlError& error) const
{
    // Inside a transaction the statement's error is reported by the
    // transaction, which looks at the connection after rolling back.
    if (depth_[connectionName(base)] == 0 && lost(base))
        throw lostError(errorText(error));
    if (isEmbedded())
        throw sqliteError(QStringLiteral("база данных папки «%1»").arg(native(source_.dataDir)), what, error);
    throw serverError(QStringLiteral("«%1»").arg(shownText(source_.dsn)), what, error, lockWait_);
}

namespace {

// The connection of SQLite itself behind a database of the embedded store.
// The driver of Qt hands every field over as a variant in a copy of the
// row, which costs more than SQLite's reading of it: queries of many rows
// read the fields straight from SQLite, on the same connection and so in
// the same transaction. (Qt's driver of SQLite is built on the system's
// library, which this program links.)
sqlite3* sqliteHandle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

// SQLite's last error as the driver of Qt would report it.
QSqlError sqliteLastError(sqlite3* handle)
{
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(handle)), QSqlError::StatementError,
                     QString::number(sqlite3_extended_errcode(handle)));
}

void readSqliteRows(sqlite3* handle, const QString& sql, const QVariantList& params,
                    const std::function<void(const Row&)>& fn, const std::function<void(const QSqlError&)>& fail)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
        const QSqlError error = sqliteLastError(handle);
        sqlite3_finalize(statement);
        fail(error);
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalize(statement, sqlite3_finalize);
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& p = params[i];
        int rc = SQLITE_OK;
        if (p.isNull()) {
            rc = sqlite3_bind_null(statement, i + 1);
        } else if (p.typeId() == QMetaType::Double) {
            rc = sqlite3_bind_double(statement, i + 1, p.toDouble());
        } else if (p.typeId() == QMetaType::Int || p.typeId() == QMetaType::LongLong) {
            rc = sqlite3_bind_int64(statement, i + 1, p.toLongLong());
        } else {
            const QString s = p.toString();
            rc = sqlite3_bind_text16(statement, i + 1, s.utf16(), int(s.size() * 2), SQLITE_TRANSIENT);
        }
        if (rc != SQLITE_OK)
            fail(sqliteLastError(handle));
    }
    const Row row(statement);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        fn(row);
    if (rc != SQLITE_DONE)
        fail(sqliteLastError(handle));
}

// Prepares and runs a statement; false when either fails.
bool run(QSqlQuery& q, const QString& sql, const QVariantList& params)
{
    if (!q.prepare(sql))
        return false;
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    return q.exec();
}

const QString kAccessFailed = QStringLiteral("Ошибка обращения к базе данных.");

}  // namespace

QList<QSqlRecord> Store::query(const QString& sql, const QVariantList& params, Base base) const
{
    QSqlQuery q(database(base));
    q.setForwardOnly(true);
    if (!run(q, sql, params))
        fail(base, kAccessFailed, q.lastError());
    QList<QSqlRecord> rows;
    while (q.next())
        rows.append(q.record());
    return rows;
}

void Store::forEachRow(const QString& sql, const QVariantList& params, const std::function<void(const Row&)>& fn,
                       Base base) const
{
    readRows(sql, params, fn, base, database(base).driver()->dbmsType() == QSqlDriver::PostgreSQL);
}

void Store::readRows(const QString& sql, const QVariantList& params, const std::function<void(const Row&)>& fn,
                     Base base, bool asRecordText) const
{
    if (sqlite3* handle = sqliteHandle(database(base))) {
        readSqliteRows(handle, sql, params, fn, [&](const QSqlError& error) { fail(base, kAccessFailed, error); });
        return;
    }
    QSqlQuery q(database(base));
    q.setForwardOnly(true);
    if (!asRecordText) {
        if (!run(q, sql, params))
            fail(base, kAccessFailed, q.lastError());
        const Row row(q);
        while (q.next())
            fn(row);
    } else {
        // A driver of a server spends more on every field it hands over than
        // the server on the whole row: the server writes each row as the text
        // of a record, one field.
        if (!run(q, QStringLiteral("SELECT veltron_row::text FROM (%1) AS veltron_row").arg(sql), params))
            fail(base, kAccessFailed, q.lastError());
        std::optional<QStringList> names;
        const auto fieldName = [&](int i) {
            if (!names)
                names = fieldNames(sql, params, base);
            return names->value(i);
        };
        RecordText record;
        const Row row(record, fieldName);
        while (q.next()) {
            const QString text = q.value(0).toString();
            if (!record.read(text))
                fail(base, kAccessFailed,
                     QSqlError(QStringLiteral("сервер вернул строку в неожиданном виде: %1").arg(shownText(text)),
                               QString(), QSqlError::StatementError));
            fn(row);
        }
    }
    if (q.lastError().isValid())
        fail(base, kAccessFailed, q.lastError());
}

QStringList Store::fieldNames(const QString& sql, const QVariantList& params, Base base) const
{
    QSqlQuery q(database(base));
    if (!run(q, QStringLiteral("SELECT * FROM (%1) AS veltron_row LIMIT 0").arg(sql), params))
        fail(base, kAccessFailed, q.lastError());
    // A server writes the names in small letters; the program's own are spelt as the schema spells them.
    QStringList names;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i) {
        QString name = record.fieldName(i);
        for (const TableDef& table : schema())
            if (const FieldDef* f = findField(table, name)) {
                name = f->name;
                break;
            }
        names << name;
    }
    return names;
}

void Store::forEachRowInBatches(const QString& sql, int batch, const std::function<void(const Row&)>& fn,
                                Base base) const
{
    if (database(base).driver()->dbmsType() != QSqlDriver::PostgreSQL) {
        forEachRow(sql, {}, fn, base);
        return;
    }
    // A driver of a server keeps the whole result of a query in memory. A
    // cursor WITH HOLD lives outside a transaction; the server keeps its rows.
    const QString cursor = QStringLiteral("veltron_rows_%1").arg(++connectionCounter);
    const auto statement = [&](const QString& text) {
        QSqlQuery q(database(base));
        if (!q.exec(text))
            fail(base, kAccessFailed, q.lastError());
    };
    statement(QStringLiteral("DECLARE %1 NO SCROLL CURSOR WITH HOLD FOR %2").arg(cursor, sql));
    try {
        const QString fetch = QStringLiteral("FETCH FORWARD %1 FROM %2").arg(batch).arg(cursor);
        for (int got = batch; got == batch;) {
            got = 0;
            readRows(
                fetch, {},
                [&](const Row& r) {
                    ++got;
                    fn(r);
                },
                base, false);
        }
    } catch (...) {
        QSqlQuery(database(base)).exec(QStringLiteral("CLOSE %1").arg(cursor));
        throw;
    }
    statement(QStringLiteral("CLOSE %1").arg(cursor));
}

int Store::exec(const QString& sql, const QVariantList& params, Base base)
{
    QSqlQuery q(database(base));
    q.setForwardOnly(true);
    if (!run(q, sql, params))
        fail(base, kAccessFailed, q.lastError());
    return q.numRowsAffected();
}

void Store::execRows(const QString& sql, const QList<QVariantList>& rows, Base base)
{
    QSqlQuery q(database(base));
    if (!q.prepare(sql))
        fail(base, kAccessFailed, q.lastError());
    for (const QVariantList& row : rows) {
        for (int i = 0; i < row.size(); ++i)
            q.bindValue(i, row[i]);
        if (!q.exec())
            fail(base, kAccessFailed, q.lastError());
    }
}

void Store::transaction(const std::function<void()>& fn, Base base)
{
    const QString name = connectionName(base);
    int& depth = depth_[name];
    if (depth > 0) {
        ++depth;
        try { fn(); } catch (...) { --depth; throw; }
        --depth;
        return;
    }
    QSqlDatabase db = database(base);
    const auto settleVersions = [this](bool committed) {
        for (const auto& [connection, d] : depth_)
            if (d > 0)
                return;
        if (committed)
            for (auto it = pendingVersions_.cbegin(); it != pendingVersions_.cend(); ++it) {
                if (it.value())
                    versions_.insert(it.key(), *it.value());
                else
                    versions_.remove(it.key());
            }
        pendingVersions_.clear();
    };
    // An embedded transaction takes the write lock at once, so that a
    // writer waits for another one within the busy wait instead of failing
    // halfway; its commit covers both attached files.
    if (isEmbedded()) {
        QSqlQuery begin(db);
        if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE")))
            fail(base, QStringLiteral("Не удалось начать изменение базы данных."), begin.lastError());
    } else if (!db.transaction()) {
        fail(base, QStringLiteral("Не удалось начать изменение базы данных."), db.lastError());
    }
    depth = 1;
    try {
        fn();
    } catch (const StoreError& e) {
        depth = 0;
        db.rollback();
        settleVersions(false);
        if (lost(base))
            throw lostError(e.detail());
        throw;
    } catch (...) {
        depth = 0;
        db.rollback();
        settleVersions(false);
        throw;
    }
    depth = 0;
    // COMMIT as a statement on the embedded store keeps SQLite's code of a failure.
    QSqlQuery commit(db);
    if (isEmbedded() ? !commit.exec(QStringLiteral("COMMIT")) : !db.commit()) {
        const QSqlError e = isEmbedded() ? commit.lastError() : db.lastError();
        db.rollback();
        settleVersions(false);
        fail(base, QStringLiteral("Не удалось сохранить изменения базы данных."), e);
    }
    settleVersions(true);
}

std::optional<qint64> Store::knownVersion(const QString& row) const
{
    const auto pending = pendingVersions_.constFind(row);
    if (pending != pendingVersions_.constEnd())
        return *pending;
    const auto known = versions_.constFind(row);
    if (known == versions_.constEnd())
        return std::nullopt;
    return *known;
}

void Store::noteVersion(const QString& row, std::optional<qint64> version) const
{
    for (const auto& [connection, d] : depth_)
        if (d > 0) {
            pendingVersions_.insert(row, version);
            return;
        }
    if (version)
        versions_.insert(row, *version);
    else
        versions_.remove(row);
}

QStringList Store::tablesOf(Base base) const
{
    QSqlDatabase db = database(base);
    if (!isEmbedded())
        return programTables(serverTables(db, QStringLiteral("«%1»").arg(shownText(source_.dsn))), base);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT name FROM %1.sqlite_master WHERE type = 'table'").arg(schemaOf(base))))
        fail(base, QStringLiteral("Не удалось прочитать список таблиц базы данных."), q.lastError());
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return programTables(names, base);
}

QString Store::tableRef(const QString& table, Base base) const
{
    return isEmbedded() ? schemaOf(base) + QLatin1Char('.') + table : table;
}

bool Store::hasTables() const
{
    return !tablesOf(Base::Main).isEmpty() || !tablesOf(Base::Second).isEmpty();
}

bool Store::hasAllTables() const
{
    return tablesOf(Base::Main).size() + tablesOf(Base::Second).size() == qsizetype(schema().size());
}

bool Store::isEmpty() const
{
    for (const auto& [table, rows] : rowCounts())
        if (rows > 0)
            return false;
    return true;
}

std::vector<std::pair<QString, int>> Store::rowCounts() const
{
    const QStringList existing = tablesOf(Base::Main) + tablesOf(Base::Second);
    std::vector<std::pair<QString, int>> counts;
    for (const TableDef& table : schema())
        if (existing.contains(table.name))
            counts.emplace_back(table.name, rowCount(*this, table));
    return counts;
}

bool Store::schemaComplete() const
{
    for (const Base base : {Base::Main, Base::Second}) {
        const QStringList existing = tablesOf(base);
        for (const TableDef& table : schema()) {
            if (table.base != base)
                continue;
            if (!existing.contains(table.name))
                return false;
            QSqlQuery probe(database(base));
            if (!probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(tableRef(table.name, base))))
                fail(base, QStringLiteral("Не удалось прочитать таблицу %1.").arg(table.name), probe.lastError());
            for (const FieldDef& field : table.fields)
                if (probe.record().indexOf(field.name) < 0)
                    return false;
        }
        if (isEmbedded()) {
            const QString s = schemaOf(base);
            if (query(QStringLiteral("PRAGMA %1.application_id").arg(s), {}, base).value(0).value(0).toInt()
                    != kApplicationId
                || query(QStringLiteral("PRAGMA %1.user_version").arg(s), {}, base).value(0).value(0).toInt()
                       != kSchemaVersion)
                return false;
        }
    }
    for (const char* table : {"tab_time", "tabPath"})
        if (rowCount(*this, *findTable(QLatin1String(table))) == 0)
            return false;
    if (isEmbedded())
        for (const char* index : {"ix_tabBloki_rasch", "ix_tabMain_id", "ix_tabRasch_id"})
            if (query(QStringLiteral("SELECT COUNT(*) FROM main.sqlite_master WHERE type = 'index' AND name = ?"),
                      {QLatin1String(index)})
                    .value(0)
                    .value(0)
                    .toInt()
                == 0)
                return false;
    return true;
}

void Store::createSchema(bool seed)
{
    bool created = false;
    const auto prepare = [&](Base base) {
        const QStringList existing = tablesOf(base);
        const bool fresh = existing.isEmpty();
        for (const auto& table : schema()) {
            if (table.base != base)
                continue;
            const QString ref = tableRef(table.name, base);
            if (!existing.contains(table.name)) {
                exec(createTableSql(table, ref), {}, base);
                created = true;
                if (seed && fresh) {
                    const QString prefix = base == Base::Main ? QStringLiteral(":/data/")
                                                              : QStringLiteral(":/data/second/");
                    loadSeedTable(*this, table, ref, prefix + table.name + QStringLiteral(".csv"));
                }
                continue;
            }
            // A table of an older store gets the fields added since.
            QSqlQuery probe(database(base));
            if (!probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(ref)))
                fail(base, QStringLiteral("Не удалось прочитать таблицу %1.").arg(table.name), probe.lastError());
            const QSqlRecord columns = probe.record();
            for (const FieldDef& field : table.fields)
                if (columns.indexOf(field.name) < 0)
                    exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(ref, columnSql(field)), {}, base);
        }
    };
    // The mark that tells the files apart from other programs' databases.
    const auto stamp = [&](Base base) {
        const QString s = schemaOf(base);
        const QList<QSqlRecord> id = query(QStringLiteral("PRAGMA %1.application_id").arg(s), {}, base);
        const QList<QSqlRecord> version = query(QStringLiteral("PRAGMA %1.user_version").arg(s), {}, base);
        if (id.value(0).value(0).toInt() != kApplicationId)
            exec(QStringLiteral("PRAGMA %1.application_id = %2").arg(s).arg(kApplicationId), {}, base);
        if (version.value(0).value(0).toInt() != kSchemaVersion)
            exec(QStringLiteral("PRAGMA %1.user_version = %2").arg(s).arg(kSchemaVersion), {}, base);
    };
    // One transaction: on the embedded store both files are attached to
    // one connection, so both change together or neither does.
    transaction(
        [&] {
            prepare(Base::Second);
            prepare(Base::Main);
            if (seed)
                ensureRequiredRows(*this);
            if (created || isEmbedded())
                createIndexes(*this);
            if (isEmbedded()) {
                stamp(Base::Main);
                stamp(Base::Second);
            }
        },
        Base::Main);
}

QStringList Store::namesOf(const QString& table, const QString& field, Base base) const
{
    QStringList names;
    for (const auto& r : query(QStringLiteral("SELECT %1 FROM %2").arg(field, table), {}, base))
        names << r.value(0).toString();
    sortRussian(names);
    return names;
}

namespace {

const QCollator& russianCollator()
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Russian, QLocale::Russia)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        c.setNumericMode(true);
        return c;
    }();
    return collator;
}

}  // namespace

double numberField(const QSqlRecord& record, const char* field)
{
    const QLatin1String name(field);
    return storedNumber(record.value(name), name).value_or(0.0);
}

namespace {

// The items in the Russian order of their texts, stable. Each text gets its
// collation key once; the keys order as the collator compares the texts.
template <typename T>
void sortByTexts(QList<T>& items, const QStringList& texts)
{
    const QCollator& c = russianCollator();
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const QString& t : texts)
        keys.push_back(c.sortKey(t));
    std::vector<qsizetype> order(texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    QList<T> sorted;
    sorted.reserve(items.size());
    for (qsizetype i : order)
        sorted.append(std::move(items[i]));
    items = std::move(sorted);
}

}  // namespace

void sortRussian(QStringList& names)
{
    sortByTexts(names, QStringList(names));
}

void sortRussianBy(QList<QSqlRecord>& rows, const QString& field)
{
    QStringList texts;
    texts.reserve(rows.size());
    for (const QSqlRecord& r : rows)
        texts << r.value(field).toString();
    sortByTexts(rows, texts);
}

}  // namespace veltron::db
