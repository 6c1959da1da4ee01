#include "records/complex_rows.h"

#include "records/calculations.h"

#include <QSqlRecord>

namespace veltron::records {

QList<calc::BlockEnergies> openComplexRows(const db::Store& store, int id)
{
    // The version first: rows saved by another program in between make it
    // older than the rows, so a later save is refused rather than let through.
    rememberVersion(store, id, Kind::Complex);
    const auto records = store.query(QStringLiteral("SELECT pName, E11, E12, E21, E22, E23, E24, Wt FROM "
                                                    "tabSumm_rasch WHERE id_raschet = ? ORDER BY Nomer"),
                                     {double(id)});
    QList<calc::BlockEnergies> rows;
    for (const QSqlRecord& r : records)
        rows.push_back({r.value(0).toString(), db::numberField(r, "E11"), db::numberField(r, "E12"),
                        db::numberField(r, "E21"), db::numberField(r, "E22"), db::numberField(r, "E23"),
                        db::numberField(r, "E24"), db::numberField(r, "Wt")});
    return rows;
}

void saveComplexRows(db::Store& store, int id, const QList<calc::BlockEnergies>& rows)
{
    QList<QVariantList> values;
    for (int i = 0; i < rows.size(); ++i) {
        const calc::BlockEnergies& r = rows[i];
        values.push_back({double(id), i + 1, r.pName, r.E11, r.E12, r.E21, r.E22, r.E23, r.E24, r.Wt});
    }
    store.transaction([&] {
        takeForChange(store, id, Kind::Complex);
        if (!findById(store, id, Kind::Complex))
            throw ConcurrentChange(QStringLiteral("Комплексный расчет удален из базы данных: строки расчета не "
                                                  "сохранены."));
        store.exec(QStringLiteral("DELETE FROM tabSumm_rasch WHERE id_raschet = ?"), {double(id)});
        store.execRows(QStringLiteral("INSERT INTO tabSumm_rasch (id_raschet, Nomer, pName, E11, E12, E21, E22, E23, "
                                      "E24, Wt) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       values);
    });
}

void deleteComplexCalculation(db::Store& store, int id)
{
    store.transaction([&] {
        takeForChange(store, id, Kind::Complex);
        store.exec(QStringLiteral("DELETE FROM tabSumm_rasch WHERE id_raschet = ?"), {double(id)});
        store.exec(QStringLiteral("DELETE FROM tabRasch1 WHERE Id = ?"), {id});
        forgetVersion(store, id, Kind::Complex);
    });
}

}  // namespace veltron::records
