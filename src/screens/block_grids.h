#pragma once

#include "records/blocks.h"

#include <optional>

class QTableWidget;

namespace veltron::screens {

// What filling the block grids found.
struct BlockArea {
    bool hasMain = false;      // the main block has a substance
    bool hasAdjacent = false;
    // Whether the liquid-phase notice is due; nothing without a main block.
    std::optional<bool> liquidNotice;
};

// Column numbers of the main-block grid tabBlok (row 0 is its header).
namespace mainCol {
enum { Name_blok, Name, V_GF, V_PGF, Davl, Temp, Plotn_GF, Plotn_PGF, Adiab, znG1, znG2, Count };
}
// Column numbers of the adjacent-block grid tabBlok_smeg.
namespace adjCol {
enum {
    Id, Name_blok, Name, V_GF, V_PGF, Davl, Temp, Plotn_GF, Plotn_PGF, Adiab,
    S_sech, Sk_teploper_GG, Sk_teploper_GF, Koef_gidro, t, t_P, t_T,
    formula, per1, per2, per3, pVist, pVist_zad, pVistG, pVistG_zad, znG1, znG2, Count
};
}

// Clears both grids and fills them with the blocks of a calculation: the
// main block in row 1 of the main grid, the adjacent blocks in the rows of
// the other one; headers, column widths (the G1 and G2 flags of the main
// block hide and show columns) and row heights follow the blocks.
BlockArea fillGrids(QTableWidget* mainGrid, QTableWidget* adjacentGrid, const QList<records::Block>& blocks);

// Width of a grid column given in twips; 0 hides the column.
void setColumnTwips(QTableWidget* grid, int col, int twips);

}  // namespace veltron::screens
