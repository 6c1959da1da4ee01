#include "report/results_view.h"

#include "calc/engine.h"
#include "calc/number_text.h"
#include "report/format.h"


namespace veltron::report {

namespace {

const QString kManual = QStringLiteral(" (вручную)");
const QString kTyped = QStringLiteral("при расчете ПРИНЯТО по регламентным данным");
const QString kComputed = QStringLiteral("по расчетным значениям");
const QString kTotal = QStringLiteral("Общая");

// Variable labels of the detail grids; "Е" is Cyrillic except in the E1" of adjacent blocks.
const QString kW1 = QStringLiteral("w'");
const QString kG1 = QStringLiteral("G'");
const QString kE2a = QStringLiteral("Е2'");
const QString kG2 = QStringLiteral("G\"");
const QString kE1b = QStringLiteral("Е1\"");
const QString kW2 = QStringLiteral("w\"");
const QString kE1Latin = QStringLiteral("E1\"");
const QString kE2b = QStringLiteral("Е2\"");
const QString kE3b = QStringLiteral("Е3\"");

QString withManual(const QString& text, bool manual)
{
    return manual ? text + kManual : text;
}

QString cell(double x)
{
    return calc::numberText(x);
}

}  // namespace

QStringList mainBlockHeader()
{
    return {QStringLiteral("Наименование блока"),
            QStringLiteral("Наименование вещества"),
            QStringLiteral("Объем ЖФ, куб.м"),
            QStringLiteral("Объем ПГФ, куб.м"),
            QStringLiteral("Давление, МПа"),
            QStringLiteral("Температура, °C"),
            QStringLiteral("Плотность ЖФ, кг/куб.м"),
            QStringLiteral("Плотность ПГФ, кг/куб.м"),
            QStringLiteral("Показатель адиабаты"),
            QStringLiteral("Масса ПГФ, имеющаяся непосредственно в блоке, кг"),
            QStringLiteral("Масса ЖФ, испарившейся за счет энергии перегрева и поступившей в окружающую среду при "
                           "АРБ, кг")};
}

QStringList adjacentBlockHeader()
{
    QStringList h{QStringLiteral("Номер блока"),
                  QStringLiteral("Наименование блока"),
                  QStringLiteral("Наименование вещества"),
                  QStringLiteral("Объем ЖФ, куб.м"),
                  QStringLiteral("Объем ПГФ, куб.м"),
                  QStringLiteral("Давление, МПа"),
                  QStringLiteral("Температура, °C"),
                  QStringLiteral("Плотность ЖФ, кг/куб.м"),
                  QStringLiteral("Плотность ПГФ, кг/куб.м"),
                  QStringLiteral("Показатель адиабаты")};
    h << QStringLiteral("I") << QStringLiteral("II") << QStringLiteral("III") << QStringLiteral("IV")
      << QStringLiteral("V") << QStringLiteral("VI") << QStringLiteral("VII");
    h << QStringLiteral("Формула") << QStringLiteral("Значение 1") << QStringLiteral("Значение 2")
      << QStringLiteral("Значение 3");
    h << QString() << QString() << QString() << QString();
    h << QStringLiteral("Масса ПГФ, имеющаяся непосредственно в блоке, кг")
      << QStringLiteral("Масса ЖФ, испарившейся за счет энергии перегрева и поступившей в окружающую среду при АРБ, "
                        "кг");
    return h;
}

QStringList detailHeader()
{
    return {QStringLiteral("№ блока"), QStringLiteral("Переменная"), QStringLiteral("Значение")};
}

QStringList mainBlockCells(const records::Block& b)
{
    return {b.Name_blok, b.Name,           cell(b.V_GF),  cell(b.V_PGF), cell(b.Davl), cell(b.Temp),
            cell(b.Plotn_GF), cell(b.Plotn_PGF), cell(b.Adiab), cell(b.znG1), cell(b.znG2)};
}

QStringList adjacentBlockCells(const records::Block& b)
{
    return {QString::number(b.Id), b.Name_blok,  b.Name,           cell(b.V_GF),       cell(b.V_PGF),
            cell(b.Davl),          cell(b.Temp), cell(b.Plotn_GF), cell(b.Plotn_PGF), cell(b.Adiab),
            cell(b.S_sech),        cell(b.Sk_teploper_GG), cell(b.Sk_teploper_GF), cell(b.Koef_gidro),
            cell(b.t),             cell(b.t_P),  cell(b.t_T),      cell(b.formula),    cell(b.per1),
            cell(b.per2),          cell(b.per3), cell(b.pVist),    cell(b.pVist_zad),  cell(b.pVistG),
            cell(b.pVistG_zad),    cell(b.znG1), cell(b.znG2)};
}

ResultsView buildResultsView(const calc::RaschResult& r, const records::CalculationInputs& inputs)
{
    const records::ConditionTexts& in = inputs.conditions;
    ResultsView v;
    v.A = FormatResult(r.A);
    v.G = withManual(FormatResult(r.G), r.G_entered);
    v.E11 = FormatResult(r.E11);
    v.E12 = FormatResult(r.E12);
    v.E21 = FormatResult(r.E21);
    v.E22 = FormatResult(r.E22);
    v.E23 = FormatResult(r.E23);
    v.E24 = FormatResult(r.E24);
    v.m = FormatResult(r.m);
    v.Q = FormatResult(r.Q);
    v.Zn_kategor = r.Zn_kategor;
    v.Wt = FormatResult(r.Wt);
    v.Label28 = r.Label28;
    v.PnNote = calc::pnNote(r);

    v.Name_Vva = r.subst.Name;
    v.Mol_massa = FormatResult(r.subst.Mol_massa);
    v.T_kip = FormatResult(r.subst.T_kip);
    v.Tepl_sgorGF = FormatResult(r.subst.qGF());
    v.Tepl_sgorPGF = FormatResult(r.subst.Tepl_sgorPGF);
    v.Tepl_paroobr = FormatResult(r.subst.Tepl_paroobr);
    v.Teploem_GF = FormatResult(r.subst.Teploem_GF);
    v.t_kontakt = in.t_kontakt;
    v.txtTau_max = formatPattern(r.Tau_max, QStringLiteral("0"));
    v.Type = in.Name_poverhn;
    v.Koef_teplopr = in.Koef_teplopr;
    v.c = in.c;
    v.p = in.p;
    v.S_kontakt = in.S_kontakt;
    v.S_G = in.S_G;
    v.txtNyu = in.txtNyu;
    v.Tempv = in.Tempv;
    v.LTempv = records::airTemperatureCaption(in.Option3);
    v.Tempp = in.Tempp;
    v.txtTg = in.txtTg;
    v.txtUmax = formatPattern(r.Tau15, QStringLiteral("0"));
    v.txtPn = FormatResult(r.PnT);
    v.txtPn1 = FormatResult(r.PnTr);
    v.Label5 = in.Check3 ? kTyped : kComputed;
    v.Label33 = in.Check4 ? kTyped : kComputed;
    v.Label17 = r.Label17;

    if (inputs.main) {
        v.hasMainBlock = true;
        v.mainBlock = mainBlockCells(*inputs.main);
        v.mainG1 = inputs.main->G1 == 1;
        v.mainG2 = inputs.main->G2 == 1;
    }
    for (const records::Block& b : inputs.adjacent)
        v.adjacentBlocks << adjacentBlockCells(b);

    // Detail grids: adjacent blocks are numbered 2 … n + 1 in grid order.
    const int n = int(r.adjacent.size());
    for (int i = 0; i < n; ++i) {
        const calc::AdjacentResult& a = r.adjacent[std::size_t(i)];
        const QString b = QString::number(i + 2);
        v.tabE2 << QStringList{b, kW1, FormatDetail(a.w12)}
                << QStringList{QString(), kG1, withManual(FormatDetail(a.g12), a.g12_entered)}
                << QStringList{QString(), kE2a, FormatDetail(a.e12)};
        v.tabE22 << QStringList{b, kE2b, FormatDetail(a.e22)};
        v.tabE23 << QStringList{b, kE3b, FormatDetail(a.e23)};
    }
    v.tabE2 << QStringList{kTotal, kE2a, FormatDetail(r.E12)};
    v.tabE22 << QStringList{kTotal, kE2b, FormatDetail(r.E22)};
    v.tabE23 << QStringList{kTotal, kE3b, FormatDetail(r.E23)};

    v.tabE1 << QStringList{QStringLiteral("1"), kG2, withManual(FormatDetail(r.Ggf), r.Ggf_entered)}
            << QStringList{QString(), kE1b, FormatDetail(r.E21own)};
    for (int i = 0; i < n; ++i) {
        const calc::AdjacentResult& a = r.adjacent[std::size_t(i)];
        v.tabE1 << QStringList{QString::number(i + 2), kW2, FormatDetail(a.w21)}
                << QStringList{QString(), kG2, withManual(FormatDetail(a.g21), a.g21_entered)}
                << QStringList{QString(), kE1Latin, FormatDetail(a.e21)};
    }
    v.tabE1 << QStringList{kTotal, kE1b, FormatDetail(r.E21)};

    for (std::size_t i = 0; i < 5; ++i)
        v.zoneRadius[i] = FormatResult(r.Rzone[i]);
    v.R0 = r.R0;
    return v;
}

}  // namespace veltron::report
