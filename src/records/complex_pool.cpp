#include "records/complex_pool.h"

#include "records/calculations.h"

#include <QSqlRecord>

namespace veltron::records {

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

}  // namespace veltron::records
