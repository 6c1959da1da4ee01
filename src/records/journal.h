#pragma once

#include "db/store.h"

#include <QDateTime>
#include <QString>

namespace veltron::records {

// Appends one row to the calculation journal tabOtchet: every run of every
// model leaves one.
void appendJournalRow(db::Store& store, const QString& nameOb, const QString& conc,
                      const QDateTime& when = QDateTime::currentDateTime());

}  // namespace veltron::records
