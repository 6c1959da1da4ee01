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

#include <sqlite3.h>

#include <atomic>
#include <map>

namespace veltron::db {

StoreError::StoreError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

namespace {

std::atomic<int> connectionCounter{0};

QString newConnectionName(const char* tag)
{
    return QStringLiteral("veltron-%1-%2").arg(QLatin1String(tag)).arg(++connectionCounter);
}

QString fileOf(Base base)
{
    return base == Base::Main ? QStringLiteral("bdVeltron.sqlite") : QStringLiteral("tabMirvel.sqlite");
}

QString errorText(const QSqlError& e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty())
        t = e.text().trimmed();
    return t;
}

[[noreturn]] void fail(const QString& what, const QSqlError& e)
{
    throw StoreError(QStringLiteral("%1\n%2").arg(what, errorText(e)));
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

void loadSeedTable(Store& store, const TableDef& table, const QString& resource)
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
                       .arg(table.name, csv.header.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
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

// The program's tables that the database of a connection holds, named as the
// schema names them. A server lists only the schemas its statements see.
QStringList existingTables(const QSqlDatabase& db)
{
    QStringList names;
    if (db.driver()->dbmsType() == QSqlDriver::PostgreSQL) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT table_name FROM information_schema.tables "
                                   "WHERE table_schema = ANY (current_schemas(false))")))
            fail(QStringLiteral("Не удалось прочитать список таблиц базы данных."), q.lastError());
        while (q.next())
            names << q.value(0).toString();
    } else {
        names = db.tables();
    }
    QStringList found;
    for (const QString& n : names)
        if (const TableDef* t = findTable(n))
            found << t->name;
    return found;
}

void closeConnection(const QString& name);

// Adds a named connection and opens it; a connection that fails to open is
// removed again, so that nothing half-open stays behind.
QString openConnection(const QString& driver, const QString& databaseName,
                       const std::function<void(QSqlDatabase&)>& open)
{
    const QString name = newConnectionName(driver == QLatin1String("QODBC") ? "odbc" : "sqlite");
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        db.setDatabaseName(databaseName);
        open(db);
    } catch (...) {
        closeConnection(name);
        throw;
    }
    return name;
}

QString openSqliteFile(const QString& dataDir, Base base)
{
    const QString path = QDir(dataDir).filePath(fileOf(base));
    const QFileInfo info(path);
    const QFileInfo dirInfo(dataDir);
    if (!dirInfo.isDir())
        throw StoreError(QStringLiteral("Папка данных «%1» не найдена.").arg(QDir::toNativeSeparators(dataDir)));
    if (!dirInfo.isWritable() || (info.exists() && !info.isWritable()))
        throw StoreError(QStringLiteral("Папка данных «%1» недоступна для записи: база данных не может быть открыта.")
                             .arg(QDir::toNativeSeparators(dataDir)));
    return openConnection(QStringLiteral("QSQLITE"), path, [&](QSqlDatabase& db) {
        if (!db.open())
            fail(QStringLiteral("Не удалось открыть базу данных «%1».").arg(QDir::toNativeSeparators(path)),
                 db.lastError());
        QSqlQuery probe(db);
        if (!probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")))
            fail(QStringLiteral("Файл «%1» повреждён или не является базой данных.").arg(QDir::toNativeSeparators(path)),
                 probe.lastError());
    });
}

QString openOdbcConnection(const QString& dsn)
{
    return openConnection(QStringLiteral("QODBC"), dsn, [&](QSqlDatabase& db) {
        if (!db.open())
            fail(QStringLiteral("Не удалось подключиться к источнику данных «%1».").arg(dsn), db.lastError());
    });
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

}  // namespace

Store::Store(Source source, QString mainConnection, QString secondConnection)
    : source_(std::move(source)), main_(std::move(mainConnection)), second_(std::move(secondConnection))
{
}

Store::~Store()
{
    closeConnection(main_);
    closeConnection(second_);
}

std::unique_ptr<Store> Store::openEmbedded(const QString& dataDir, Prepare prepare)
{
    const QString mainName = openSqliteFile(dataDir, Base::Main);
    QString secondName;
    try {
        secondName = openSqliteFile(dataDir, Base::Second);
    } catch (...) {
        closeConnection(mainName);
        throw;
    }
    std::unique_ptr<Store> store(new Store({dataDir, {}}, mainName, secondName));
    if (prepare == Prepare::CreateAndSeed)
        store->createSchema(true);
    return store;
}

std::unique_ptr<Store> Store::openOdbc(const QString& dataDir, const QString& dsn)
{
    if (dsn.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Имя источника данных ODBC не задано."));
    const QString name = openOdbcConnection(dsn);
    std::unique_ptr<Store> store(new Store({dataDir, dsn}, name, name));
    if (store->hasTables())
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

QSqlDatabase Store::database(Base base) const
{
    QSqlDatabase db = QSqlDatabase::database(connectionName(base), false);
    if (!db.isOpen() && !db.open())
        throw StoreError(QStringLiteral("Нет связи с базой данных «%1»: %2\nПроверьте, что сервер базы данных "
                                        "работает, и повторите действие.")
                             .arg(source_.dsn, errorText(db.lastError())));
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

QString Store::lostMessage(const QString& reason) const
{
    return QStringLiteral("Связь с базой данных «%1» прервана: %2\nДействие не выполнено. Повторите его: программа "
                          "подключится к базе данных заново.")
        .arg(source_.dsn, reason);
}

void Store::fail(Base base, const QString& what, const QString& reason) const
{
    // Inside a transaction the statement's error is reported by the
    // transaction, which looks at the connection after rolling back.
    if (depth_[connectionName(base)] == 0 && lost(base))
        throw StoreError(lostMessage(reason));
    throw StoreError(QStringLiteral("%1\n%2").arg(what, reason));
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

void readSqliteRows(sqlite3* handle, const QString& sql, const QVariantList& params,
                    const std::function<void(const Row&)>& fn, const std::function<void(const QString&)>& fail)
{
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &statement, nullptr) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(sqlite3_errmsg(handle));
        sqlite3_finalize(statement);
        fail(reason);
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
            fail(QString::fromUtf8(sqlite3_errmsg(handle)));
    }
    const Row row(statement);
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
        fn(row);
    if (rc != SQLITE_DONE)
        fail(QString::fromUtf8(sqlite3_errmsg(handle)));
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

}  // namespace

QList<QSqlRecord> Store::query(const QString& sql, const QVariantList& params, Base base) const
{
    QSqlQuery q(database(base));
    q.setForwardOnly(true);
    if (!run(q, sql, params))
        fail(base, QStringLiteral("Ошибка обращения к базе данных."), errorText(q.lastError()));
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
    const QString failed = QStringLiteral("Ошибка обращения к базе данных.");
    if (sqlite3* handle = sqliteHandle(database(base))) {
        readSqliteRows(handle, sql, params, fn, [&](const QString& reason) { fail(base, failed, reason); });
        return;
    }
    QSqlQuery q(database(base));
    q.setForwardOnly(true);
    if (!asRecordText) {
        if (!run(q, sql, params))
            fail(base, failed, errorText(q.lastError()));
        const Row row(q);
        while (q.next())
            fn(row);
    } else {
        // A driver of a server spends more on every field it hands over than
        // the server on the whole row: the server writes each row as the text
        // of a record, one field.
        if (!run(q, QStringLiteral("SELECT veltron_row::text FROM (%1) AS veltron_row").arg(sql), params))
            fail(base, failed, errorText(q.lastError()));
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
                fail(base, failed, QStringLiteral("сервер вернул строку в неожиданном виде: %1").arg(text.left(80)));
            fn(row);
        }
    }
    if (q.lastError().isValid())
        fail(base, failed, errorText(q.lastError()));
}

QStringList Store::fieldNames(const QString& sql, const QVariantList& params, Base base) const
{
    QSqlQuery q(database(base));
    if (!run(q, QStringLiteral("SELECT * FROM (%1) AS veltron_row LIMIT 0").arg(sql), params))
        fail(base, QStringLiteral("Ошибка обращения к базе данных."), errorText(q.lastError()));
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
            fail(base, QStringLiteral("Ошибка обращения к базе данных."), errorText(q.lastError()));
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
        fail(base, QStringLiteral("Ошибка обращения к базе данных."), errorText(q.lastError()));
    return q.numRowsAffected();
}

void Store::execRows(const QString& sql, const QList<QVariantList>& rows, Base base)
{
    QSqlQuery q(database(base));
    if (!q.prepare(sql))
        fail(base, QStringLiteral("Ошибка обращения к базе данных."), errorText(q.lastError()));
    for (const QVariantList& row : rows) {
        for (int i = 0; i < row.size(); ++i)
            q.bindValue(i, row[i]);
        if (!q.exec())
            fail(base, QStringLiteral("Ошибка обращения к базе данных."), errorText(q.lastError()));
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
    if (!db.transaction())
        fail(base, QStringLiteral("Не удалось начать изменение базы данных."), errorText(db.lastError()));
    depth = 1;
    try {
        fn();
    } catch (const StoreError& e) {
        depth = 0;
        db.rollback();
        settleVersions(false);
        if (lost(base))
            throw StoreError(lostMessage(e.message()));
        throw;
    } catch (...) {
        depth = 0;
        db.rollback();
        settleVersions(false);
        throw;
    }
    depth = 0;
    if (!db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        settleVersions(false);
        fail(base, QStringLiteral("Не удалось сохранить изменения базы данных."), errorText(e));
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

bool Store::hasTables() const
{
    if (!existingTables(database(Base::Main)).isEmpty())
        return true;
    return main_ != second_ && !existingTables(database(Base::Second)).isEmpty();
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
    QStringList existing = existingTables(database(Base::Main));
    if (main_ != second_)
        existing += existingTables(database(Base::Second));
    std::vector<std::pair<QString, int>> counts;
    for (const TableDef& table : schema())
        if (existing.contains(table.name))
            counts.emplace_back(table.name, rowCount(*this, table));
    return counts;
}

void Store::createSchema(bool seed)
{
    bool created = false;
    const auto prepare = [&](Base base) {
        const QStringList existing = existingTables(database(base));
        bool fresh = true;
        for (const QString& name : existing)
            if (findTable(name)->base == base)
                fresh = false;
        for (const auto& table : schema()) {
            if (table.base != base)
                continue;
            if (!existing.contains(table.name)) {
                exec(createTableSql(table), {}, base);
                created = true;
                if (seed && fresh) {
                    const QString prefix = base == Base::Main ? QStringLiteral(":/data/")
                                                              : QStringLiteral(":/data/second/");
                    loadSeedTable(*this, table, prefix + table.name + QStringLiteral(".csv"));
                }
                continue;
            }
            // A table of an older store gets the fields added since.
            QSqlQuery probe(database(base));
            if (!probe.exec(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(table.name)))
                fail(base, QStringLiteral("Не удалось прочитать таблицу %1.").arg(table.name),
                     errorText(probe.lastError()));
            const QSqlRecord columns = probe.record();
            for (const FieldDef& field : table.fields)
                if (columns.indexOf(field.name) < 0)
                    exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2").arg(table.name, columnSql(field)), {}, base);
        }
    };
    transaction(
        [&] {
            transaction([&] { prepare(Base::Second); }, Base::Second);
            prepare(Base::Main);
            if (seed)
                ensureRequiredRows(*this);
            if (created || isEmbedded())
                createIndexes(*this);
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
