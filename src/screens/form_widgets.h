#pragma once

#include <QString>

class QAbstractButton;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

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
QString cellText(const QTableWidget* grid, int row, int col);

// A value box of a results screen: read-only, initial text "0".
QLineEdit* valueBox(QWidget* parent, const char* name, int width = 130);

// A push button with an object name.
QPushButton* namedButton(QWidget* parent, const char* name, const QString& text);

// A label that wraps, with an object name.
QLabel* wrapLabel(QWidget* parent, const char* name, const QString& text);

}  // namespace veltron::screens
