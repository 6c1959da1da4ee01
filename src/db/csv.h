#pragma once

#include <QString>
#include <QStringList>
#include <QList>

namespace veltron::db {

// A table of seed data: the header names the fields, each row has one text per field.
struct CsvTable {
    QStringList header;
    QList<QStringList> rows;
};

// Parses RFC 4180 text; lines that start with '#' outside quotes are comments.
// Throws StoreError naming the line when a row has the wrong number of fields.
CsvTable parseCsv(const QString& text, const QString& sourceName);

}  // namespace veltron::db
