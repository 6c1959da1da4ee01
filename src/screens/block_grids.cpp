#include "screens/block_grids.h"

#include "screens/form_widgets.h"
#include "calc/number_text.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>

namespace veltron::screens {

namespace {

const QString kMassPgf = QStringLiteral("Масса ПГФ, имеющаяся непосредственно в блоке, кг");
const QString kMassGf = QStringLiteral(
    "Масса ЖФ, испарившейся за счет энергии перегрева и поступившей в окружающую среду при АРБ, кг");

struct Header {
    const char* text;
    int twips;
};

QString num(double v)
{
    return calc::numberText(v);
}

// A row at least `lines` text lines high, and high enough for every visible cell.
void fitRow(QTableWidget* grid, int row, int lines)
{
    const QFontMetrics fm(grid->font());
    int height = lines * fm.lineSpacing() + 8;
    for (int col = 0; col < grid->columnCount(); ++col) {
        if (grid->isColumnHidden(col))
            continue;
        const QTableWidgetItem* item = grid->item(row, col);
        if (!item || item->text().isEmpty())
            continue;
        const QFontMetrics cellFm(item->font());
        const QRect r = cellFm.boundingRect(QRect(0, 0, std::max(20, grid->columnWidth(col) - 8), 2000),
                                            Qt::TextWordWrap, item->text());
        height = std::max(height, r.height() + 8);
    }
    grid->setRowHeight(row, height);
}

void fitHeight(QTableWidget* grid, int maxRows)
{
    int h = 2 * grid->frameWidth();
    for (int row = 0; row < std::min(grid->rowCount(), maxRows); ++row)
        h += grid->rowHeight(row);
    // Room for the horizontal scroll bar when the columns are wider than a
    // grid on a 1366-pixel screen can show.
    int width = 0;
    for (int col = 0; col < grid->columnCount(); ++col)
        if (!grid->isColumnHidden(col))
            width += grid->columnWidth(col);
    if (width > 1150)
        h += grid->horizontalScrollBar()->sizeHint().height();
    grid->setFixedHeight(h);
}

void setHeaders(QTableWidget* grid, std::initializer_list<Header> headers)
{
    int col = 0;
    for (const Header& h : headers) {
        const QString text = QString::fromUtf8(h.text);
        setCell(grid, 0, col, text);
        setColumnTwips(grid, col, h.twips);
        // A header word is never cut: the column is at least as wide as its longest word.
        if (h.twips > 0) {
            const QFontMetrics fm(grid->item(0, col)->font());
            int longest = 0;
            for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                longest = std::max(longest, fm.horizontalAdvance(word));
            grid->setColumnWidth(col, std::max(grid->columnWidth(col), longest + 14));
        }
        ++col;
    }
}

}  // namespace

void setColumnTwips(QTableWidget* grid, int col, int twips)
{
    grid->setColumnHidden(col, twips == 0);
    if (twips > 0)
        grid->setColumnWidth(col, px(twips));
}

BlockArea fillGrids(QTableWidget* mainGrid, QTableWidget* adjacentGrid, const QList<records::Block>& blocks)
{
    BlockArea area;
    mainGrid->clear();
    mainGrid->setRowCount(2);
    mainGrid->setColumnCount(mainCol::Count);
    setHeaders(mainGrid, {{"Наименование блока", 3000},
                          {"Наименование вещества", 1900},
                          {"Объем ЖФ, куб.м", 950},
                          {"Объем ПГФ, куб.м", 1000},
                          {"Давление, МПа", 950},
                          {"Температура, °C", 1150},
                          {"Плотность ЖФ, кг/куб.м", 1350},
                          {"Плотность ПГФ, кг/куб.м", 1400},
                          {"Показатель адиабаты", 1000},
                          {"", 2400},
                          {"", 4300}});
    setCell(mainGrid, 0, mainCol::znG1, kMassPgf);
    setCell(mainGrid, 0, mainCol::znG2, kMassGf);
    // Without a main block the mass columns stay hidden, as for a block without entered masses.
    mainGrid->setColumnHidden(mainCol::znG1, true);
    mainGrid->setColumnHidden(mainCol::znG2, true);

    adjacentGrid->clear();
    adjacentGrid->setRowCount(2);
    adjacentGrid->setColumnCount(adjCol::Count);
    setHeaders(adjacentGrid, {{"Номер блока", 600},
                              {"Наименование блока", 3500},
                              {"Наименование вещества", 2500},
                              {"Объем ЖФ, куб.м", 1000},
                              {"Объем ПГФ, куб.м", 1000},
                              {"Давление, МПа", 1000},
                              {"Температура, °C", 1200},
                              {"Плотность ЖФ, кг/куб.м", 1400},
                              {"Плотность ПГФ, кг/куб.м", 1400},
                              {"Показатель адиабаты", 1000},
                              {"I", 1000},
                              {"II", 1000},
                              {"III", 1000},
                              {"IV", 1000},
                              {"V", 1000},
                              {"VI", 1000},
                              {"VII", 1000},
                              {"Формула", 0},
                              {"Значение 1", 0},
                              {"Значение 2", 0},
                              {"Значение 3", 0},
                              {"", 0},
                              {"", 0},
                              {"", 0},
                              {"", 0},
                              {"", 2400},
                              {"", 4300}});
    setCell(adjacentGrid, 0, adjCol::znG1, kMassPgf);
    setCell(adjacentGrid, 0, adjCol::znG2, kMassGf);

    int counter = 1;
    for (const records::Block& b : blocks) {
        if (b.Id == 1) {
            const QString cells[] = {b.Name_blok,    b.Name,           num(b.V_GF),     num(b.V_PGF),
                                     num(b.Davl),    num(b.Temp),      num(b.Plotn_GF), num(b.Plotn_PGF),
                                     num(b.Adiab),   num(b.znG1),      num(b.znG2)};
            for (int col = 0; col < mainCol::Count; ++col)
                setCell(mainGrid, 1, col, cells[col]);
            const bool g1 = b.G1 == 1;
            const bool g2 = b.G2 == 1;
            // Widths set by the headers are kept; the flags only hide and show.
            mainGrid->setColumnHidden(mainCol::V_PGF, g1);
            mainGrid->setColumnHidden(mainCol::Plotn_PGF, g1);
            mainGrid->setColumnHidden(mainCol::znG1, !g1);
            mainGrid->setColumnHidden(mainCol::V_GF, g2);
            mainGrid->setColumnHidden(mainCol::Plotn_GF, g2);
            mainGrid->setColumnHidden(mainCol::znG2, !g2);
            fitRow(mainGrid, 1, int(b.Name.size()) / 23 + 1);
            area.liquidNotice = b.V_GF == 0 && (b.G2 == 0 || b.znG2 == 0);
            continue;
        }
        if (counter > 1)
            adjacentGrid->setRowCount(adjacentGrid->rowCount() + 1);
        const QString cells[] = {
            QString::number(b.Id), b.Name_blok,       b.Name,             num(b.V_GF),       num(b.V_PGF),
            num(b.Davl),           num(b.Temp),       num(b.Plotn_GF),    num(b.Plotn_PGF),  num(b.Adiab),
            num(b.S_sech),         num(b.Sk_teploper_GG), num(b.Sk_teploper_GF), num(b.Koef_gidro), num(b.t),
            num(b.t_P),            num(b.t_T),        num(b.formula),     num(b.per1),       num(b.per2),
            num(b.per3),           num(b.pVist),      num(b.pVist_zad),   num(b.pVistG),     num(b.pVistG_zad),
            num(b.znG1),           num(b.znG2)};
        for (int col = 0; col < adjCol::Count; ++col)
            setCell(adjacentGrid, counter, col, cells[col]);
        fitRow(adjacentGrid, counter,
               std::max(int(b.Name_blok.size()) / 38 + 1, int(b.Name.size()) / 27 + 1));
        ++counter;
    }
    fitRow(mainGrid, 0, 2);
    fitRow(adjacentGrid, 0, 2);
    if (mainGrid->rowHeight(1) < mainGrid->rowHeight(0) / 2)
        fitRow(mainGrid, 1, 1);
    area.hasMain = !cellText(mainGrid, 1, mainCol::Name).isEmpty();
    area.hasAdjacent = !cellText(adjacentGrid, 1, adjCol::Id).isEmpty();
    fitHeight(mainGrid, 2);
    fitHeight(adjacentGrid, 5);
    return area;
}

}  // namespace veltron::screens
