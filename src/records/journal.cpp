#include "records/journal.h"

#include "db/rows.h"

namespace veltron::records {

void appendJournalRow(db::Store& store, const QString& nameOb, const QString& conc, const QDateTime& when)
{
    store.exec(QStringLiteral("INSERT INTO tabOtchet (Date, Name_ob, Conc) VALUES (?, ?, ?)"), {when, nameOb, conc});
}

void appendJournalRows(db::Store& store, const QList<JournalRow>& rows)
{
    if (rows.isEmpty())
        return;
    QList<QVariantList> values;
    values.reserve(rows.size());
    for (const JournalRow& row : rows)
        values.append(QVariantList{row.when, row.nameOb, row.conc});
    store.transaction([&] {
        db::insertRows(store, QStringLiteral("tabOtchet"),
                       {QStringLiteral("Date"), QStringLiteral("Name_ob"), QStringLiteral("Conc")}, values);
    });
}

}  // namespace veltron::records
