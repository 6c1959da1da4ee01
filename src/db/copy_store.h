#pragma once

#include "db/store.h"

#include <QList>
#include <QString>

#include <functional>

namespace veltron::db {

struct CopiedTable {
    QString table;
    int rows = 0;
};

// How far the copy of a table has come: rows copied of its rows.
struct CopyProgress {
    QString table;
    int copied = 0;
    int rows = 0;
    bool finished = false;  // the table is copied
};

// Rows of a table are read and written this many at a time.
inline constexpr int kCopyBatch = 1000;

// Makes the target hold exactly the rows of every table of the source: the
// target gets the tables and fields it lacks, loses the rows it held and
// receives the source's rows, all or nothing. A value that the target's
// field cannot hold unchanged stops the copy. The rows travel table by
// table in batches of kCopyBatch, so memory does not grow with their
// number; progress hears of every table when it starts, after each batch
// and when it is finished. Returns the tables in the order of the schema with the rows
// copied.
QList<CopiedTable> copyStore(const Store& from, Store& to,
                             const std::function<void(const CopyProgress&)>& progress = {});

}  // namespace veltron::db
