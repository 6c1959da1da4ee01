#pragma once

#include "db/store.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class QSqlQuery;

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

// The current row of a query (Store::forEachRow), its fields read by their
// position in the select list.
class Row {
public:
    explicit Row(const QSqlQuery& query) : query_(query) {}

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
    const QSqlQuery& query_;
};

// Adds the rows (values in the order of the columns) to the table through
// one prepared statement: on a server a statement of many rows, one round
// trip for each, on the embedded store a statement of one row.
void insertRows(Store& store, const QString& table, const QStringList& columns, const QList<QVariantList>& rows,
                Base base = Base::Main);

}  // namespace veltron::db
