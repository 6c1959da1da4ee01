#include "records/run_inputs.h"

#include "calc/number_text.h"

#include <QSqlRecord>

namespace veltron::records {

namespace {

calc::Stop cannotRun(const QString& message)
{
    return calc::Stop{calc::text::kAttention, message, calc::StopIcon::Error};
}

}  // namespace

calc::BlockData toBlockData(const Block& b)
{
    calc::BlockData d;
    d.Id = b.Id;
    d.Name_blok = b.Name_blok;
    d.Name = b.Name;
    d.V_GF = b.V_GF;
    d.V_PGF = b.V_PGF;
    d.Davl = b.Davl;
    d.Temp = b.Temp;
    d.Plotn_GF = b.Plotn_GF;
    d.Plotn_PGF = b.Plotn_PGF;
    d.Adiab = b.Adiab;
    d.S_sech = b.S_sech;
    d.Sk_teploper_GG = b.Sk_teploper_GG;
    d.Sk_teploper_GF = b.Sk_teploper_GF;
    d.Koef_gidro = b.Koef_gidro;
    d.t = b.t;
    d.t_P = b.t_P;
    d.t_T = b.t_T;
    d.pVist = b.pVist;
    d.pVist_zad = b.pVist_zad;
    d.pVistG = b.pVistG;
    d.pVistG_zad = b.pVistG_zad;
    d.G1 = b.G1 == 1;
    d.znG1 = b.znG1;
    d.G2 = b.G2 == 1;
    d.znG2 = b.znG2;
    d.mi = b.mi == 1;
    d.pmi = b.pmi;
    return d;
}

LoadedInputs loadRunInputs(const db::Store& store, const Calculation& calculation)
{
    calc::RunInputs in;
    in.calculationName = calculation.name;

    const auto conditions = loadConditions(store, calculation.id);
    if (!conditions)
        return cannotRun(QStringLiteral("У расчета «%1» нет общих условий (tabMain).").arg(calculation.name));
    const Conditions& c = *conditions;
    calc::GeneralConditions& g = in.conditions;
    g.Zet = calc::numberText(c.z);
    g.Check1 = c.f131 == 1;
    g.S_G = calc::numberText(c.S_G);
    g.S_kontakt = c.S_kontakt;
    g.t_kontakt = c.t_kontakt;
    g.Tempv = c.Tempv;
    g.Tg = c.Tg;
    g.Tempp = c.Tempp;
    g.Nyu = c.nyu;
    g.Name_poverhn = c.Name_poverhn;
    g.Check3 = c.znPn != 0;
    g.Pn = c.znPn;
    g.Check4 = c.znPn1 != 0;
    g.Pn1 = c.znPn1;
    g.Check2 = c.Lnkpr != 0;
    if (g.Check2) {
        g.Lnkpr = c.znLnkpr;
        g.Uv = c.Uv;
    }

    const auto surface = store.query(
        QStringLiteral("SELECT p, lyambda, c FROM tabPoverhn WHERE Name = ?"), {c.Name_poverhn});
    if (surface.isEmpty())
        return cannotRun(QStringLiteral("Подстилающая поверхность «%1» расчета «%2» не найдена в справочнике поверхностей.")
                             .arg(c.Name_poverhn, calculation.name));
    g.p = surface.first().value(QStringLiteral("p")).toDouble();
    g.Koef_teplopr = surface.first().value(QStringLiteral("lyambda")).toDouble();
    g.c = surface.first().value(QStringLiteral("c")).toDouble();

    loadRunSettings(store, calculation.id, in.settings);
    const auto pn = store.query(QStringLiteral("SELECT Pn FROM tabMain WHERE Id = ?"), {calculation.id});
    const int code = pn.isEmpty() ? 0 : qRound(pn.first().value(0).toDouble());
    in.settings.Pn = code == 1 || code == 2 ? code : 3;

    bool hasMain = false;
    for (const Block& b : blocksOf(store, calculation.id)) {
        if (b.Id == 1) {
            in.main = toBlockData(b);
            hasMain = !b.Name.isEmpty();
        } else {
            in.adjacent.push_back(toBlockData(b));
        }
    }
    if (!hasMain)
        return cannotRun(QStringLiteral("В расчете «%1» нет данных о расчетном блоке: расчет невозможен.")
                             .arg(calculation.name));
    return in;
}

void appendRunJournal(db::Store& store, const QString& calculationName, const QDateTime& when)
{
    store.exec(QStringLiteral("INSERT INTO tabOtchet (Date, Name_ob, Conc) VALUES (?, ?, ?)"),
               {when, calculationName, calc::text::kJournalConc});
}

}  // namespace veltron::records
