#pragma once

#include "db/rows.h"
#include "db/store.h"

#include <QList>
#include <QString>

#include <optional>

namespace veltron::records {

// One row of tabBloki: the main block (Id 1) or an adjacent block (Id 2, 3, …).
struct Block {
    int Id_Rasch = 0;
    int Id = 1;
    QString Name_blok;
    QString Name;  // substance, a SubstChar.Name
    double V_GF = 0;
    double V_PGF = 0;
    double Davl = 0;
    double Temp = 0;
    double Plotn_GF = 0;
    double Plotn_PGF = 0;
    double Adiab = 0;
    double S_sech = 0;
    double Sk_teploper_GG = 0;
    double Sk_teploper_GF = 0;
    double Koef_gidro = 0;
    double t = 0;
    double t_P = 0;
    double t_T = 0;
    double formula = 0;
    double per1 = 0;
    double per2 = 0;
    double per3 = 0;
    double pVist = 0;
    double pVist_zad = 0;
    double pVistG = 0;
    double pVistG_zad = 0;
    int G1 = 0;
    double znG1 = 0;
    int G2 = 0;
    double znG2 = 0;
    int mi = 0;
    double pmi = 0;

    bool isMain() const { return Id == 1; }
    bool operator==(const Block&) const = default;
};

// Every column of tabBloki in table order, for copying rows whole.
const QStringList& blockColumns();

// The block of a row of a query that selects blockColumns() in their
// order. A number field that holds something else than a number throws
// db::NotANumber naming the block.
Block blockFrom(const db::Row& row);

// How a message names a block: "расчетный блок", "смежный блок № 2 «Трубопровод»".
QString blockLabel(const Block& block);

// The blocks of a calculation in ascending Id.
QList<Block> blocksOf(const db::Store& store, int idRasch);
std::optional<Block> findBlock(const db::Store& store, int idRasch, int id);

// Number of a new adjacent block: 2, or one more than the largest Id of the
// calculation's blocks when that is larger.
int nextAdjacentNumber(const db::Store& store, int idRasch);

// Writes the row (Id_Rasch, Id) of the block, adding it when it is not stored yet.
void saveBlock(db::Store& store, const Block& block);

void deleteBlock(db::Store& store, int idRasch, int id);

// Deletes an adjacent block and renumbers the remaining adjacent blocks of
// the calculation 2, 3, … without gaps, keeping their order. All or nothing.
void deleteAdjacentBlock(db::Store& store, int idRasch, int id);
void renumberAdjacent(db::Store& store, int idRasch);

}  // namespace veltron::records
