#pragma once

#include "calc/rasch_result.h"
#include "records/blocks.h"
#include "records/calculation_inputs.h"
#include "report/zone_table.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace veltron::report {

// The texts of one model I run as the results screen shows them and the
// reports print them; every number is formatted here, once.
struct ResultsView {
    // Results page.
    QString A, G, E11, E12, E21, E22, E23, E24, m, Q, Zn_kategor, Wt;
    QString Label28;  // spill note; empty when hidden
    QString PnNote;   // why the evaporation intensity is 0; empty when it is not

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

// The view of a run of `inputs`: the inputs as the input screen showed them
// and the results formatted.
ResultsView buildResultsView(const calc::RaschResult& result, const records::CalculationInputs& inputs);

// Fixed texts of the grids.
QStringList mainBlockHeader();      // 11 columns
QStringList adjacentBlockHeader();  // 27 columns
QStringList detailHeader();         // "№ блока", "Переменная", "Значение"

// Cells of a block as the block grids show them.
QStringList mainBlockCells(const records::Block& b);
QStringList adjacentBlockCells(const records::Block& b);

}  // namespace veltron::report
