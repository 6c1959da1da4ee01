#pragma once

#include "db/store.h"

#include <QString>
#include <vector>

namespace veltron::db {

enum class FieldType { Integer, Double, Text, Memo, DateTime };

struct FieldDef {
    QString name;
    FieldType type;
    QString defaultValue;  // SQL literal; empty: no column default
    // Added after the first stores were made: an older store lacks it and
    // gets it when it is opened.
    bool addedLater = false;
};

struct TableDef {
    QString name;
    Base base;
    std::vector<FieldDef> fields;
};

// Every table and field of both databases.
const std::vector<TableDef>& schema();
const TableDef* findTable(const QString& name);
const FieldDef* findField(const TableDef& table, const QString& name);

// "Name TYPE [DEFAULT value]" of one field.
QString columnSql(const FieldDef& field);
// CREATE TABLE of the table, under `as` when given (a name with its schema).
QString createTableSql(const TableDef& table, const QString& as = {});

}  // namespace veltron::db
