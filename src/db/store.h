#pragma once

#include <QHash>
#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>
#include <vector>

class QSqlDatabase;
class QSqlError;

namespace veltron::db {

// The main database holds calculations, blocks, directories and tables of the
// methodology; the second one only the two organisation lists.
enum class Base { Main, Second };

class Row;

// A failure of the store. The message is the program's own, in Russian, for
// the user; the detail is what the database or its driver said, for
// veltron-cli --verbose and the log. Passwords of connection strings are
// masked in both.
class StoreError : public std::runtime_error {
public:
    enum class Kind {
        Other,
        Busy,         // another program holds the database; trying again later helps
        Damaged,      // the file is no SQLite database, or a damaged one
        Foreign,      // a database of another program, or of a newer version of this one
        NoStore,      // a named data folder is missing or holds no store
        ReadOnly,     // the file or its folder cannot be written
        DiskFull,
        Permission,   // the server user lacks rights on the program's tables
        LockTimeout,  // a row stayed locked by another user longer than the wait
        Lost,         // the connection to the server broke
    };
    explicit StoreError(const QString& message, Kind kind = Kind::Other, const QString& detail = {});
    QString message() const { return message_; }
    QString detail() const { return detail_; }
    Kind kind() const { return kind_; }

private:
    QString message_;
    QString detail_;
    Kind kind_;
};

// The text with the values of Password= and PWD= of a connection string
// replaced by "***", so that no message or log line repeats a password.
QString maskSecrets(const QString& text);

// A text from outside (an argument, a name, a data-source name) as a
// message repeats it: passwords masked, control characters written as
// escapes (\n, \x1b), and a long one cut after 200 characters.
QString shownText(const QString& text);

// Where the two databases come from: the embedded SQLite files of the data
// folder, or an ODBC data source named by the user.
struct Source {
    QString dataDir;   // folder of bdVeltron.sqlite, tabMirvel.sqlite, "Data Source.txt"
    QString dsn;       // empty: the embedded store
};

// What opening the embedded store does with its files.
// Every way of opening checks the files first: a file of another program
// (without this program's mark and with tables that are not its own) or of
// a newer version is refused with nothing written to it.
enum class Prepare {
    // Creates what is missing; a database without any table also gets the seed data.
    CreateAndSeed,
    // Only opens: the caller creates the tables itself (init, copy-store).
    Nothing,
    // A store must be there already (a data folder named by the user, where
    // a typing error must not make a new store): a missing folder or one
    // without the program's main database is refused with Kind::NoStore.
    // Tables and fields the store lacks are added, as with CreateAndSeed.
    Existing,
};

class Store {
public:
    // Opens the embedded store of dataDir.
    static std::unique_ptr<Store> openEmbedded(const QString& dataDir, Prepare prepare = Prepare::CreateAndSeed);
    // Connects to an ODBC data source by name; both bases live in its one
    // database. A database that holds the program's tables gets the tables
    // and fields it lacks; one without any of them is left as it is (see
    // hasTables and createSchema).
    static std::unique_ptr<Store> openOdbc(const QString& dataDir, const QString& dsn);
    static std::unique_ptr<Store> open(const Source& source);

    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    const Source& source() const { return source_; }
    bool isEmbedded() const { return source_.dsn.isEmpty(); }

    QList<QSqlRecord> query(const QString& sql, const QVariantList& params = {},
                            Base base = Base::Main) const;
    // Runs a query and hands its rows to fn one at a time as they come,
    // without keeping them: the fields are read by position (db/rows.h).
    void forEachRow(const QString& sql, const QVariantList& params, const std::function<void(const Row&)>& fn,
                    Base base = Base::Main) const;
    // The same for a query of many rows: a server hands them over through a
    // cursor `batch` rows at a time, so that the program never holds more
    // than a batch; SQLite reads them one by one anyway.
    void forEachRowInBatches(const QString& sql, int batch, const std::function<void(const Row&)>& fn,
                             Base base = Base::Main) const;
    // Runs a statement that changes rows; returns the number of rows affected.
    int exec(const QString& sql, const QVariantList& params = {}, Base base = Base::Main);
    // Runs one statement once for each list of values in rows.
    void execRows(const QString& sql, const QList<QVariantList>& rows, Base base = Base::Main);
    // All or nothing: commits when fn returns, rolls back and rethrows when it throws.
    // A call inside fn joins the transaction that is running.
    void transaction(const std::function<void()>& fn, Base base = Base::Main);

    // Whether the database holds any table of the program.
    bool hasTables() const;
    // Whether it holds every table of the program.
    bool hasAllTables() const;
    // Whether no table of the program holds a row.
    bool isEmpty() const;
    // The rows of each table of the program that the database holds, in the order of the schema.
    std::vector<std::pair<QString, int>> rowCounts() const;
    // Whether every table and field is there with the rows every store
    // needs (and on the embedded store the mark and the indexes): then
    // opening the store writes nothing.
    bool schemaComplete() const;
    // Creates the tables and fields the database lacks, in one transaction.
    // With seed, a database that had none of the tables also receives the
    // seed data of the directories and the tables of the methodology.
    void createSchema(bool seed);

    // Texts of one column of a table in Russian alphabetical order, case-insensitive.
    QStringList namesOf(const QString& table, const QString& field = QStringLiteral("Name"),
                        Base base = Base::Main) const;

    // Versions of rows as this program last read or wrote them, so that a
    // change can be refused when another program changed the row in between.
    // A version noted inside a transaction counts once the transaction
    // commits and is forgotten when it rolls back; nullopt forgets the row.
    std::optional<qint64> knownVersion(const QString& row) const;
    void noteVersion(const QString& row, std::optional<qint64> version) const;

    // How long a statement waits for a lock held by another program before
    // it gives up: kBusyWaitMs on the embedded files, kLockWaitMs for a row
    // on a server. Then the store reports Kind::Busy or Kind::LockTimeout.
    static constexpr int kBusyWaitMs = 5000;
    static constexpr int kLockWaitMs = 10000;
    void setLockWait(int milliseconds);
    int lockWait() const { return lockWait_; }

private:
    Store(Source source, QString mainConnection, QString secondConnection);
    QString connectionName(Base base) const;
    // The program's tables that the database of a base holds.
    QStringList tablesOf(Base base) const;
    // The table as a statement of this store names it.
    QString tableRef(const QString& table, Base base) const;
    void applyLockWait(QSqlDatabase& db) const;
    // The open connection of a base; one that was lost is opened again.
    QSqlDatabase database(Base base) const;
    // The error of a failed statement: when the connection turns out to be
    // lost, the message says so and the connection is closed, to be opened
    // again by the next operation.
    [[noreturn]] void fail(Base base, const QString& what, const QSqlError& error) const;
    bool lost(Base base) const;
    StoreError lostError(const QString& detail) const;
    // forEachRow: the fields as the driver hands them over, or each row of
    // a server as the text of a record (RecordText).
    void readRows(const QString& sql, const QVariantList& params, const std::function<void(const Row&)>& fn, Base base,
                  bool asRecordText) const;
    // The names of the fields of a query, as the schema spells them.
    QStringList fieldNames(const QString& sql, const QVariantList& params, Base base) const;

    Source source_;
    QString main_;
    QString second_;
    mutable std::map<QString, int> depth_;  // running transaction per connection
    mutable QHash<QString, qint64> versions_;
    mutable QHash<QString, std::optional<qint64>> pendingVersions_;
    int lockWait_ = 0;
};

// A number field of a record; an empty (NULL) field reads as 0, a value that
// is not a number throws NotANumber (db/rows.h).
double numberField(const QSqlRecord& record, const char* field);

// Sorts texts as a Russian reader expects: case-insensitive, Cyrillic alphabet order.
void sortRussian(QStringList& names);
// Sorts records by a text field the same way.
void sortRussianBy(QList<QSqlRecord>& rows, const QString& field = QStringLiteral("Name"));

}  // namespace veltron::db
