#include "common/sample_calculations.h"

#include <QSqlRecord>
#include <QVariant>

namespace veltron::test {

namespace {

int nextId(const db::Store& store)
{
    return store.query("SELECT MAX(Id) FROM tabRasch").first().value(0).toInt() + 1;
}

const QString kMainColumns = QStringLiteral(
    "Name_poverhn, t_kontakt, S_kontakt, S_G, Tempv, Tempp, Tg, nyu, f131, z, znPn, znPn1, Lnkpr, znLnkpr, Uv, "
    "opNyu, A, G, Pn, Gs, znGs, G4, znG4, G5, znG5");

int exampleId(const db::Store& store)
{
    return store.query("SELECT Id FROM tabRasch WHERE Name = ?", {kExample}).first().value(0).toInt();
}

}  // namespace

void addScaledExample(db::Store& store, const QString& name, double scale)
{
    const int id = nextId(store);
    const int source = exampleId(store);
    store.exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {id, name});
    store.exec(QStringLiteral("INSERT INTO tabMain (Id, %1) SELECT ?, %1 FROM tabMain WHERE Id = ?").arg(kMainColumns),
               {id, source});
    store.exec("INSERT INTO tabBloki (Id_Rasch, Id, Name_blok, Name, V_GF, V_PGF, Davl, Temp, Plotn_GF, Plotn_PGF, "
               "Adiab, S_sech, Sk_teploper_GG, Sk_teploper_GF, Koef_gidro, t, t_P, t_T, formula, per1, per2, per3, "
               "pVist, pVist_zad, pVistG, pVistG_zad, G1, znG1, G2, znG2, mi, pmi) "
               "SELECT ?, Id, ?, Name, V_GF * ?, V_PGF * ?, Davl, Temp, Plotn_GF, Plotn_PGF, Adiab, S_sech, "
               "Sk_teploper_GG, Sk_teploper_GF, Koef_gidro, t, t_P, t_T, formula, per1, per2, per3, pVist, "
               "pVist_zad, pVistG, pVistG_zad, G1, znG1, G2, znG2, mi, pmi FROM tabBloki WHERE Id_Rasch = ? AND Id = 1",
               {id, QStringLiteral("Емкость «%1»").arg(name), scale, scale, source});
}

QStringList addMixedCalculations(db::Store& store)
{
    // Names in alphabetical order unlike the register's.
    addScaledExample(store, QStringLiteral("А — малая емкость"), 0.01);
    addScaledExample(store, QStringLiteral("Б — средняя емкость"), 0.2);
    addScaledExample(store, QStringLiteral("В — половина примера"), 0.5);
    addScaledExample(store, QStringLiteral("Г — емкость 8 %"), 0.08);
    const int id = nextId(store);
    store.exec("INSERT INTO tabRasch (Id, Name) VALUES (?, ?)", {id, kStoppingCalculation});
    store.exec(QStringLiteral("INSERT INTO tabMain (Id, %1) SELECT ?, %1 FROM tabMain WHERE Id = ?").arg(kMainColumns),
               {id, exampleId(store)});
    return {kExample,
            QStringLiteral("В — половина примера"),
            QStringLiteral("Б — средняя емкость"),
            QStringLiteral("Г — емкость 8 %"),
            QStringLiteral("А — малая емкость"),
            kStoppingCalculation};
}

}  // namespace veltron::test
