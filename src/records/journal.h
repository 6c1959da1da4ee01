#pragma once

#include "db/store.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace veltron::records {

// Appends one row to the calculation journal tabOtchet: every run of every
// model leaves one.
void appendJournalRow(db::Store& store, const QString& nameOb, const QString& conc,
                      const QDateTime& when = QDateTime::currentDateTime());

// One row of the journal.
struct JournalRow {
    QDateTime when;
    QString nameOb;
    QString conc;
};

// Appends the rows of a batch of runs in one transaction, many rows per
// statement: all or none of them.
void appendJournalRows(db::Store& store, const QList<JournalRow>& rows);

}  // namespace veltron::records
