#pragma once

#include "db/store.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

class QSqlQuery;
struct sqlite3_stmt;

namespace veltron::db {

// A stored value of a number field that is not a finite number, such as
// text that another program wrote into the field. `where` names the record
// for the user when the reader knows it ("смежный блок № 2", …).
class NotANumber : public StoreError {
public:
    NotANumber(const QString& field, const QString& value, const QString& where = {});

    const QString& field() const { return field_; }
    const QString& value() const { return value_; }  // as the message shows it
    const QString& where() const { return where_; }
    // The same fault, named at a record.
    NotANumber at(const QString& where) const { return NotANumber(field_, value_, where); }

private:
    QString field_;
    QString value_;
    QString where_;
};

// The number a stored value holds: NULL is nothing; a value that is not a
// finite number throws NotANumber naming the field.
std::optional<double> storedNumber(const QVariant& value, const QString& field);

// A row as a PostgreSQL server writes a record as text, such as
// (1,2.5,,"a ""b""",Пропан): the fields by position, NULL where a field is
// empty and not quoted. A server hands a row over in this one text faster
// than field by field through its driver.
class RecordText {
public:
    // Reads the text, which must outlive the reading of its fields; false
    // when it is not the text of a record.
    bool read(QStringView text);

    bool isNull(int i) const;
    QString text(int i) const;
    // Nothing for NULL; NaN for a field that is not a number.
    std::optional<double> number(int i) const;

private:
    struct Field {
        qsizetype from = 0;  // the characters of the value, inside the quotes if any
        qsizetype size = 0;
        bool null = false;
        bool quoted = false;
    };
    const Field* field(int i) const;

    QStringView text_;
    std::vector<Field> fields_;
};

// The current row of a query (Store::forEachRow), its fields read by their
// position in the select list.
class Row {
public:
    explicit Row(const QSqlQuery& query) : query_(&query) {}
    // A row of an SQLite statement, read straight from the statement.
    explicit Row(sqlite3_stmt* statement) : statement_(statement) {}
    // A row of a server read from its text; fieldName names a field for a message.
    Row(const RecordText& record, std::function<QString(int)> fieldName)
        : record_(&record), fieldName_(std::move(fieldName))
    {
    }

    // The value as the driver gives it; from the text of a server's row, as text.
    QVariant value(int i) const;
    bool isNull(int i) const;
    QString text(int i) const;
    // A number field: NULL reads as 0; anything that is not a finite number
    // throws NotANumber naming the field.
    double number(int i) const;
    std::optional<double> optionalNumber(int i) const;
    // A whole-number field (flags, codes, identifiers), rounded.
    int whole(int i) const { return qRound(number(i)); }

private:
    QString fieldName(int i) const;
    const QSqlQuery* query_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    const RecordText* record_ = nullptr;
    std::function<QString(int)> fieldName_;
};

// Adds the rows (values in the order of the columns) to the table through
// one prepared statement: on a server a statement of many rows, one round
// trip for each, on the embedded store a statement of one row.
void insertRows(Store& store, const QString& table, const QStringList& columns, const QList<QVariantList>& rows,
                Base base = Base::Main);

}  // namespace veltron::db
