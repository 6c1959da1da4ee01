#pragma once

#include "db/store.h"

#include <QList>
#include <QString>

namespace veltron::db {

struct CopiedTable {
    QString table;
    int rows = 0;
};

// Makes the target hold exactly the rows of every table of the source: the
// target gets the tables and fields it lacks, loses the rows it held and
// receives the source's rows, all or nothing. A value that the target's
// field cannot hold unchanged stops the copy. Returns the tables in the
// order of the schema with the rows copied.
QList<CopiedTable> copyStore(const Store& from, Store& to);

}  // namespace veltron::db
