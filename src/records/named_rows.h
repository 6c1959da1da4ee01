#pragma once

#include "db/store.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace veltron::records {

// A directory table whose rows are found by their Name: every lookup takes
// the row of that name, so a name may be stored only once.
struct NamedTable {
    QString table;
    QStringList fields;  // the fields written besides Name, in the order of the values
    db::Base base = db::Base::Main;
    // A field that keeps the rows in the order they were entered; a new row
    // goes last. Empty: the table is listed by name.
    QString orderField = {};
};

// Adds a row (oldName empty) or rewrites the row named oldName with the name
// and the values. Returns false, and writes nothing, when another row
// already has the name. Throws db::StoreError when the row to rewrite is gone.
bool saveNamedRow(db::Store& store, const NamedTable& table, const QString& oldName, const QString& name,
                  const QVariantList& values);
void deleteNamedRow(db::Store& store, const NamedTable& table, const QString& name);
bool nameStored(const db::Store& store, const NamedTable& table, const QString& name);

// Bound values of a nullable field: a typed NULL when there is nothing, so
// that every driver knows the column's type.
QVariant nullableNumber(const std::optional<double>& value);
QVariant nullableText(const QString& text);
std::optional<double> optionalNumber(const QVariant& value);

}  // namespace veltron::records
