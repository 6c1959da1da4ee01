#pragma once

#include "db/store.h"

#include <QString>
#include <QSqlRecord>
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
    // The directory as a message names it ("справочник веществ"). Its rows
    // count their changes in Versiya, like calculations: a change or a
    // deletion is refused when another program changed the row after this
    // one read it. Empty: the rows carry no version.
    QString directory = {};
};

// Adds a row (oldName empty) or rewrites the row named oldName with the name
// and the values. Returns false, and writes nothing, when another row
// already has the name. Throws db::StoreError when the row to rewrite is
// gone, records::ConcurrentChange when another program changed it since it
// was read (noteRowVersions).
bool saveNamedRow(db::Store& store, const NamedTable& table, const QString& oldName, const QString& name,
                  const QVariantList& values);
void deleteNamedRow(db::Store& store, const NamedTable& table, const QString& name);
bool nameStored(const db::Store& store, const NamedTable& table, const QString& name);

// The fields to select, after the table's own, for noteRowVersions.
QString versionColumn(const NamedTable& table);
// Notes the versions of rows just read, with their Name and Versiya fields,
// as the ones this program saw.
void noteRowVersions(const db::Store& store, const NamedTable& table, const QList<QSqlRecord>& rows);

// Bound values of a nullable field: a typed NULL when there is nothing, so
// that every driver knows the column's type.
QVariant nullableNumber(const std::optional<double>& value);
QVariant nullableText(const QString& text);
std::optional<double> optionalNumber(const QVariant& value);

}  // namespace veltron::records
