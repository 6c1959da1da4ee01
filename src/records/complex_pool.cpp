#include "records/complex_pool.h"

#include "records/calculations.h"

#include <QSqlRecord>

namespace veltron::records {

QList<PoolItem> listPool(const db::Store& store)
{
    auto rows = store.query(QStringLiteral("SELECT Id, pName FROM tabKR"));
    db::sortRussianBy(rows, QStringLiteral("pName"));
    QList<PoolItem> items;
    for (const QSqlRecord& r : rows)
        items.push_back({r.value(0).toInt(), r.value(1).toString()});
    return items;
}

std::optional<PoolEntry> findPoolEntry(const db::Store& store, int id)
{
    const auto rows = store.query(
        QStringLiteral("SELECT pName, E11, E12, E21, E22, E23, E24, Wt FROM tabKR WHERE Id = ?"), {id});
    if (rows.isEmpty())
        return std::nullopt;
    const QSqlRecord& r = rows.first();
    return PoolEntry{r.value(0).toString(),       db::numberField(r, "E11"), db::numberField(r, "E12"),
                     db::numberField(r, "E21"), db::numberField(r, "E22"), db::numberField(r, "E23"),
                     db::numberField(r, "E24"), db::numberField(r, "Wt")};
}

bool addPoolEntry(db::Store& store, const PoolEntry& e)
{
    bool added = false;
    store.transaction([&] {
        lockNumbering(store);
        if (!store.query(QStringLiteral("SELECT Id FROM tabKR WHERE pName = ?"), {e.pName}).isEmpty())
            return;
        const auto rows = store.query(QStringLiteral("SELECT MAX(Id) FROM tabKR"));
        const int id = rows.isEmpty() ? 1 : rows.first().value(0).toInt() + 1;
        store.exec(QStringLiteral("INSERT INTO tabKR (Id, pName, E11, E12, E21, E22, E23, E24, Wt) "
                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                   {id, e.pName, e.E11, e.E12, e.E21, e.E22, e.E23, e.E24, e.Wt});
        added = true;
    });
    return added;
}

void deletePoolEntry(db::Store& store, int id)
{
    store.exec(QStringLiteral("DELETE FROM tabKR WHERE Id = ?"), {id});
}

}  // namespace veltron::records
