#include "records/journal.h"

namespace veltron::records {

void appendJournalRow(db::Store& store, const QString& nameOb, const QString& conc, const QDateTime& when)
{
    store.exec(QStringLiteral("INSERT INTO tabOtchet (Date, Name_ob, Conc) VALUES (?, ?, ?)"), {when, nameOb, conc});
}

}  // namespace veltron::records
