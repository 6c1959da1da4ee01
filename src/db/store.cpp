#include "db/store.h"

#include "db/csv.h"
#include "db/schema.h"

#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <map>

namespace veltron::db {

StoreError::StoreError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message)
{
}

namespace {

std::atomic<int> connectionCounter{0};
std::map<QString, int> transactionDepth;

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

void loadSeedTable(QSqlDatabase& db, const TableDef& table, const QString& resource)
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
    QSqlQuery q(db);
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table.name, csv.header.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    if (!q.prepare(sql))
        fail(QStringLiteral("Не удалось заполнить таблицу %1.").arg(table.name), q.lastError());
    for (const auto& row : csv.rows) {
        for (int i = 0; i < row.size(); ++i)
            q.bindValue(i, seedValue(fields[i], row[i]));
        if (!q.exec())
            fail(QStringLiteral("Не удалось заполнить таблицу %1.").arg(table.name), q.lastError());
    }
}

bool hasRows(QSqlDatabase& db, const QString& table)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) || !q.next())
        fail(QStringLiteral("Не удалось прочитать таблицу %1.").arg(table), q.lastError());
    return q.value(0).toLongLong() > 0;
}

void ensureRequiredRows(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!hasRows(db, QStringLiteral("tab_time"))) {
        q.prepare(QStringLiteral("INSERT INTO tab_time (Id, Time_nast) VALUES (?, ?)"));
        q.addBindValue(0.0);
        q.addBindValue(QDateTime::currentDateTime());
        if (!q.exec())
            fail(QStringLiteral("Не удалось создать запись таблицы tab_time."), q.lastError());
    }
    if (!hasRows(db, QStringLiteral("tabPath"))) {
        q.prepare(QStringLiteral("INSERT INTO tabPath (Path) VALUES (?)"));
        q.addBindValue(QString());
        if (!q.exec())
            fail(QStringLiteral("Не удалось создать запись таблицы tabPath."), q.lastError());
    }
}

// Calculations are read by identifier all the time: keep those lookups indexed.
void createIndexes(QSqlDatabase& db)
{
    static const char* const statements[] = {
        "CREATE INDEX IF NOT EXISTS ix_tabBloki_rasch ON tabBloki (Id_Rasch, Id)",
        "CREATE INDEX IF NOT EXISTS ix_tabMain_id ON tabMain (Id)",
        "CREATE INDEX IF NOT EXISTS ix_tabRasch_id ON tabRasch (Id)",
    };
    for (const char* sql : statements) {
        QSqlQuery q(db);
        if (!q.exec(QLatin1String(sql)))
            fail(QStringLiteral("Не удалось создать индекс базы данных."), q.lastError());
    }
}

// Creates the tables a database lacks; a database that had no table at all
// is new and also receives the seed data. Either everything or nothing.
void prepareSchema(QSqlDatabase& db, Base base)
{
    const QStringList existing = db.tables();
    const bool fresh = existing.isEmpty();
    auto exists = [&](const QString& name) {
        for (const auto& t : existing)
            if (t.compare(name, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    if (!db.transaction())
        fail(QStringLiteral("Не удалось начать изменение базы данных."), db.lastError());
    try {
        for (const auto& table : schema()) {
            if (table.base != base || exists(table.name))
                continue;
            QSqlQuery q(db);
            if (!q.exec(createTableSql(table)))
                fail(QStringLiteral("Не удалось создать таблицу %1.").arg(table.name), q.lastError());
            if (fresh) {
                const QString prefix = base == Base::Main ? QStringLiteral(":/data/")
                                                          : QStringLiteral(":/data/second/");
                loadSeedTable(db, table, prefix + table.name + QStringLiteral(".csv"));
            }
        }
        if (base == Base::Main) {
            ensureRequiredRows(db);
            createIndexes(db);
        }
    } catch (...) {
        db.rollback();
        throw;
    }
    if (!db.commit())
        fail(QStringLiteral("Не удалось сохранить изменения базы данных."), db.lastError());
}

void closeConnection(const QString& name);

// Adds a named connection and prepares it; a connection that fails to
// prepare is removed again, so that nothing half-open stays behind.
QString openConnection(const QString& driver, const QString& databaseName,
                       const std::function<void(QSqlDatabase&)>& prepare)
{
    const QString name = newConnectionName(driver == QLatin1String("QODBC") ? "odbc" : "sqlite");
    try {
        QSqlDatabase db = QSqlDatabase::addDatabase(driver, name);
        db.setDatabaseName(databaseName);
        prepare(db);
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
        probe.finish();
        prepareSchema(db, base);
    });
}

QString openOdbcConnection(const QString& dsn, Base base)
{
    return openConnection(QStringLiteral("QODBC"), dsn, [&](QSqlDatabase& db) {
        if (!db.open())
            fail(QStringLiteral("Не удалось подключиться к источнику данных «%1».").arg(dsn), db.lastError());
        prepareSchema(db, base);
    });
}

void closeConnection(const QString& name)
{
    if (name.isEmpty())
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

std::unique_ptr<Store> Store::openEmbedded(const QString& dataDir)
{
    const QString mainName = openSqliteFile(dataDir, Base::Main);
    QString secondName;
    try {
        secondName = openSqliteFile(dataDir, Base::Second);
    } catch (...) {
        closeConnection(mainName);
        throw;
    }
    return std::unique_ptr<Store>(new Store({dataDir, {}}, mainName, secondName));
}

std::unique_ptr<Store> Store::openOdbc(const QString& dataDir, const QString& dsn)
{
    if (dsn.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Имя источника данных ODBC не задано."));
    const QString mainName = openOdbcConnection(dsn, Base::Main);
    QString secondName;
    try {
        secondName = openOdbcConnection(dsn, Base::Second);
    } catch (...) {
        closeConnection(mainName);
        throw;
    }
    return std::unique_ptr<Store>(new Store({dataDir, dsn}, mainName, secondName));
}

std::unique_ptr<Store> Store::open(const Source& source)
{
    return source.dsn.isEmpty() ? openEmbedded(source.dataDir) : openOdbc(source.dataDir, source.dsn);
}

QString Store::connectionName(Base base) const
{
    return base == Base::Main ? main_ : second_;
}

namespace {

QSqlQuery prepared(const QString& connection, const QString& sql, const QVariantList& params)
{
    QSqlQuery q(QSqlDatabase::database(connection, false));
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        fail(QStringLiteral("Ошибка обращения к базе данных."), q.lastError());
    for (int i = 0; i < params.size(); ++i)
        q.bindValue(i, params[i]);
    if (!q.exec())
        fail(QStringLiteral("Ошибка обращения к базе данных."), q.lastError());
    return q;
}

}  // namespace

QList<QSqlRecord> Store::query(const QString& sql, const QVariantList& params, Base base) const
{
    QSqlQuery q = prepared(connectionName(base), sql, params);
    QList<QSqlRecord> rows;
    while (q.next())
        rows.append(q.record());
    return rows;
}

int Store::exec(const QString& sql, const QVariantList& params, Base base)
{
    QSqlQuery q = prepared(connectionName(base), sql, params);
    return q.numRowsAffected();
}

void Store::transaction(const std::function<void()>& fn, Base base)
{
    const QString name = connectionName(base);
    int& depth = transactionDepth[name];
    if (depth > 0) {
        ++depth;
        try { fn(); } catch (...) { --depth; throw; }
        --depth;
        return;
    }
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (!db.transaction())
        fail(QStringLiteral("Не удалось начать изменение базы данных."), db.lastError());
    depth = 1;
    try {
        fn();
    } catch (...) {
        depth = 0;
        db.rollback();
        throw;
    }
    depth = 0;
    if (!db.commit()) {
        const QSqlError e = db.lastError();
        db.rollback();
        fail(QStringLiteral("Не удалось сохранить изменения базы данных."), e);
    }
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
    const QVariant v = record.value(QLatin1String(field));
    return v.isNull() ? 0.0 : v.toDouble();
}

void sortRussian(QStringList& names)
{
    const QCollator& c = russianCollator();
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString& a, const QString& b) { return c.compare(a, b) < 0; });
}

void sortRussianBy(QList<QSqlRecord>& rows, const QString& field)
{
    const QCollator& c = russianCollator();
    std::stable_sort(rows.begin(), rows.end(), [&](const QSqlRecord& a, const QSqlRecord& b) {
        return c.compare(a.value(field).toString(), b.value(field).toString()) < 0;
    });
}

}  // namespace veltron::db
