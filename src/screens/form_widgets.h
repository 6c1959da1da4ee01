#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::screens {

// A check box or option button with a long caption that wraps: the caption
// is a label beside the button, and a click on it acts as a click on the button.
QHBoxLayout* checkRow(QAbstractButton* button, const QString& caption, QWidget* parent);

// Twips of the described layout as pixels at 96 dpi.
int px(int twips);

// A read-only grid in the style of the flex grids: row 0 is a fixed header,
// cells are texts aligned left, long header texts wrap.
QTableWidget* makeGrid(QWidget* parent, const char* name);
void setCell(QTableWidget* grid, int row, int col, const QString& text);
// Height of a grid row whose text wraps after `charsPerLine` characters onto
// further lines of `lineTwips` each.
int wrappedRowHeight(const QString& text, int charsPerLine, int lineTwips);
// Sets a grid row to at least `minimum` pixels, and taller where its texts,
// wrapped in their columns, need more: no cell is cut short.
void fitRowHeight(QTableWidget* grid, int row, int minimum);
QString cellText(const QTableWidget* grid, int row, int col);

// A value box of a results screen: read-only, initial text "0".
QLineEdit* valueBox(QWidget* parent, const char* name, int width = 130);

// A push button with an object name.
QPushButton* namedButton(QWidget* parent, const char* name, const QString& text);

// A numeric input box with the key filter and the leave check, its
// initial text and its widest width.
ui::NumericEdit* numericBox(QWidget* parent, const char* name, const QString& text, int maxWidth);

// A label that wraps, with an object name.
QLabel* wrapLabel(QWidget* parent, const char* name, const QString& text);

// The bold line over a results screen that names what was calculated:
// "Наименование расчета: NAME" (object name "lblName").
QLabel* calculationNameLabel(QWidget* parent, const QString& name);

// Clears a grid and gives it its header row and column widths (twips; 0
// hides the column) and, when headerTwips is given, the header height; the
// grid keeps two rows. A column is at least as wide as the longest word of
// its header, so headers wrap between words only.
void prepareGrid(QTableWidget* grid, const QStringList& header, const QList<int>& twips, int headerTwips = 0);

// Sizes a grid to its rows so that a page shows it whole without an inner scroll bar.
void fitGridHeight(QTableWidget* grid);

}  // namespace veltron::screens
