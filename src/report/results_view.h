#pragma once

#include "calc/rasch_result.h"
#include "calc/run_inputs.h"
#include "records/blocks.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace veltron::report {

// What the input screen showed when the run was requested, as its texts.
struct InputTexts {
    QString t_kontakt;
    QString Type;  // the surface chosen in Combo4
    QString Koef_teplopr;
    QString c;
    QString p;
    QString S_kontakt;
    QString S_G;
    QString txtNyu;
    QString Tempv;
    QString LTempv;  // caption of the air-temperature label
    QString Tempp;
    QString txtTg;
    bool Check3 = false;  // pressure at the block temperature typed by the user
    bool Check4 = false;  // pressure at the spill temperature typed by the user
};

// The texts of one model I run as the results screen shows them and the
// reports print them; every number is formatted here, once.
struct ResultsView {
    // Results page.
    QString A, G, E11, E12, E21, E22, E23, E24, m, Q, Zn_kategor, Wt;
    QString Label28;  // spill note; empty when hidden

    // Page "Общие".
    QString Name_Vva, Mol_massa, T_kip, Tepl_sgorGF, Tepl_sgorPGF, Tepl_paroobr, Teploem_GF;
    QString t_kontakt, txtTau_max, Type, Koef_teplopr, c, p, S_kontakt, S_G, txtNyu;
    QString Tempv, LTempv, Tempp, txtTg, txtUmax;
    QString txtPn, txtPn1;
    QString Label5, Label33;  // where each saturated pressure came from
    QString Label17;          // vapour-pressure warning; empty when hidden

    // Page "Блоки": cells of the calculated block (11) and of each adjacent
    // block (27) as field values, with the flags that choose the columns.
    bool hasMainBlock = false;
    QStringList mainBlock;
    bool mainG1 = false;
    bool mainG2 = false;
    QList<QStringList> adjacentBlocks;

    // Detail grids without their header row: block number, variable, value.
    QList<QStringList> tabE2, tabE1, tabE22, tabE23;

    // Radii R1 … R5 of the zone grid.
    std::array<QString, 5> zoneRadius;
    double R0 = 0;
};

// blocks: the tabBloki rows of the calculation in the order the store returns them.
ResultsView buildResultsView(const calc::RaschResult& result, const InputTexts& inputs,
                             const QList<records::Block>& blocks);

// Fixed texts of the grids.
QStringList mainBlockHeader();      // 11 columns
QStringList adjacentBlockHeader();  // 27 columns
QStringList detailHeader();         // "№ блока", "Переменная", "Значение"
QStringList zoneHeader();           // row 0 of the zone grid
// Rows 1 … 5 of the zone grid: class, K and deltaP.
const std::array<QStringList, 5>& zoneRows();

// Cells of a block as the block grids show them.
QStringList mainBlockCells(const records::Block& b);
QStringList adjacentBlockCells(const records::Block& b);

// The radius at which an overpressure of P kPa occurs: the coefficient K
// approximated three ways and blended, exact at the five table pressures.
struct Overpressure {
    bool clamped = false;  // P was outside 2 … 100 kPa and was replaced by the limit
    double P = 0;
    double K = 0;
    double radius = 0;
    QString txtP;                  // the pressure box after clamping
    QString txtX;                  // the radius, "0.00"
    std::array<QString, 4> row6;   // row 6 of the zone grid
};
Overpressure overpressure(double P, double R0);
double overpressureK(double P);  // P within 2 … 100

// The message shown for a pressure outside the approximation.
QString overpressureRangeMessage();

}  // namespace veltron::report
