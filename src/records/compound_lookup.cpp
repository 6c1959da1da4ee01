#include "records/compound_lookup.h"

#include <QSqlRecord>

namespace veltron::records {

QStringList explosiveNames(const db::Store& store)
{
    return store.namesOf(QStringLiteral("Explosives"));
}

std::optional<Explosive> findExplosive(const db::Store& store, const QString& name)
{
    const auto rows = store.query(QStringLiteral("SELECT Name, Energy FROM Explosives WHERE Name = ?"), {name});
    if (rows.isEmpty())
        return std::nullopt;
    const QSqlRecord& r = rows.first();
    Explosive e{r.value(0).toString(), std::nullopt};
    if (!r.isNull(1))
        e.Energy = db::numberField(r, "Energy");
    return e;
}

}  // namespace veltron::records
