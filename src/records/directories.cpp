#include "records/directories.h"

#include <QSqlRecord>

namespace veltron::records {

QStringList surfaceNames(const db::Store& store)
{
    return store.namesOf(QStringLiteral("tabPoverhn"));
}

std::optional<Surface> findSurface(const db::Store& store, const QString& name)
{
    std::optional<Surface> found;
    store.forEachRow(QStringLiteral("SELECT Name, p, lyambda, c FROM tabPoverhn WHERE Name = ?"), {name},
                     [&](const db::Row& r) {
                         if (!found)
                             found = surfaceFrom(r);
                     });
    return found;
}

Surface surfaceFrom(const db::Row& r)
{
    Surface s{r.text(0)};
    try {
        s.p = r.number(1);
        s.lyambda = r.number(2);
        s.c = r.number(3);
    } catch (const db::NotANumber& e) {
        throw e.at(QStringLiteral("подстилающая поверхность «%1» в справочнике поверхностей").arg(s.Name));
    }
    return s;
}

QStringList substanceNames(const db::Store& store, int kind)
{
    QStringList names;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT Name FROM SubstChar WHERE Vid_vva = ?"), {kind}))
        names << r.value(0).toString();
    db::sortRussian(names);
    return names;
}

std::optional<Substance> findSubstance(const db::Store& store, const QString& name)
{
    const auto rows = store.query(
        QStringLiteral("SELECT Name, Vid_vva, PokAdiab, Plotn_GF, Mol_massa FROM SubstChar WHERE Name = ?"), {name});
    if (rows.isEmpty())
        return std::nullopt;
    const QSqlRecord& r = rows.first();
    Substance s;
    s.Name = r.value(0).toString();
    s.Vid_vva = qRound(db::numberField(r, "Vid_vva"));
    s.PokAdiab = db::numberField(r, "PokAdiab");
    s.Plotn_GF = db::numberField(r, "Plotn_GF");
    if (!r.isNull(QStringLiteral("Mol_massa")))
        s.Mol_massa = db::numberField(r, "Mol_massa");
    return s;
}

QList<FuelKind> fuelKinds(const db::Store& store)
{
    QList<FuelKind> out;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT Name, z FROM tabGoryuch ORDER BY Poryadok")))
        out.push_back({r.value(0).toString(), db::numberField(r, "z")});
    return out;
}

std::optional<FuelKind> findFuelKind(const db::Store& store, const QString& name)
{
    const auto rows = store.query(QStringLiteral("SELECT Name, z FROM tabGoryuch WHERE Name = ?"), {name});
    if (rows.isEmpty())
        return std::nullopt;
    return FuelKind{rows.first().value(0).toString(), db::numberField(rows.first(), "z")};
}

std::vector<calc::NyuPoint> nyuRowsAt(const db::Store& store, double speed)
{
    std::vector<calc::NyuPoint> rows;
    const auto found = store.query(QStringLiteral("SELECT T, Nyu FROM tabNyu WHERE V = ? ORDER BY T ASC"), {speed});
    for (const QSqlRecord& r : found)
        rows.push_back({db::numberField(r, "T"), db::numberField(r, "Nyu")});
    return rows;
}

std::vector<double> massTableTemperatures(const db::Store& store)
{
    std::vector<double> t;
    for (const QSqlRecord& r : store.query(QStringLiteral("SELECT t FROM tabG ORDER BY t")))
        if (!r.isNull(QStringLiteral("t")))
            t.push_back(r.value(QStringLiteral("t")).toDouble());
    return t;
}

}  // namespace veltron::records
