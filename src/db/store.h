#pragma once

#include <QList>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <stdexcept>

namespace veltron::db {

// The main database holds calculations, blocks, directories and tables of the
// methodology; the second one only the two organisation lists.
enum class Base { Main, Second };

class StoreError : public std::runtime_error {
public:
    explicit StoreError(const QString& message);
    QString message() const { return message_; }

private:
    QString message_;
};

// Where the two databases come from: the embedded SQLite files of the data
// folder, or an ODBC data source named by the user.
struct Source {
    QString dataDir;   // folder of bdVeltron.sqlite, tabMirvel.sqlite, "Data Source.txt"
    QString dsn;       // empty: the embedded store
};

class Store {
public:
    // Opens (creating and seeding when absent) the embedded store of dataDir.
    static std::unique_ptr<Store> openEmbedded(const QString& dataDir);
    // Opens an ODBC data source by name; both bases live in it.
    static std::unique_ptr<Store> openOdbc(const QString& dataDir, const QString& dsn);
    static std::unique_ptr<Store> open(const Source& source);

    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    const Source& source() const { return source_; }

    QList<QSqlRecord> query(const QString& sql, const QVariantList& params = {},
                            Base base = Base::Main) const;
    // Runs a statement that changes rows; returns the number of rows affected.
    int exec(const QString& sql, const QVariantList& params = {}, Base base = Base::Main);
    // All or nothing: commits when fn returns, rolls back and rethrows when it throws.
    void transaction(const std::function<void()>& fn, Base base = Base::Main);

    // Texts of one column of a table in Russian alphabetical order, case-insensitive.
    QStringList namesOf(const QString& table, const QString& field = QStringLiteral("Name"),
                        Base base = Base::Main) const;

private:
    Store(Source source, QString mainConnection, QString secondConnection);
    QString connectionName(Base base) const;

    Source source_;
    QString main_;
    QString second_;
};

// A number field of a record; an empty (NULL) field reads as 0.
double numberField(const QSqlRecord& record, const char* field);

// Sorts texts as a Russian reader expects: case-insensitive, Cyrillic alphabet order.
void sortRussian(QStringList& names);
// Sorts records by a text field the same way.
void sortRussianBy(QList<QSqlRecord>& rows, const QString& field = QStringLiteral("Name"));

}  // namespace veltron::db
