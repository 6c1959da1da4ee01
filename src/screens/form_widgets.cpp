#include "screens/form_widgets.h"

#include "ui/numeric_edit.h"

#include <algorithm>

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

namespace veltron::screens {

namespace {

class ButtonCaption : public QLabel {
public:
    ButtonCaption(const QString& text, QAbstractButton* button, QWidget* parent) : QLabel(text, parent), button_(button)
    {
        setWordWrap(true);
        setBuddy(button);
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        if (button_->isEnabled())
            button_->click();
    }
    void changeEvent(QEvent* e) override
    {
        QLabel::changeEvent(e);
        setEnabled(button_->isEnabled());
    }

private:
    QAbstractButton* button_;
};

}  // namespace

QHBoxLayout* checkRow(QAbstractButton* button, const QString& caption, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    button->setAccessibleName(caption);
    auto* label = new ButtonCaption(caption, button, parent);
    label->setObjectName(button->objectName() + QStringLiteral("Caption"));
    row->addWidget(button, 0, Qt::AlignTop);
    row->addWidget(label, 1);
    return row;
}

int px(int twips)
{
    return (twips + 7) / 15;
}

QTableWidget* makeGrid(QWidget* parent, const char* name)
{
    auto* g = new QTableWidget(parent);
    g->setObjectName(QLatin1String(name));
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->verticalHeader()->hide();
    g->horizontalHeader()->hide();
    g->setWordWrap(true);
    g->setAlternatingRowColors(false);
    return g;
}

void setCell(QTableWidget* grid, int row, int col, const QString& text)
{
    auto* item = grid->item(row, col);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        grid->setItem(row, col, item);
    }
    item->setText(text);
    if (row == 0) {
        item->setBackground(QColor(0xe8, 0xe8, 0xe8));
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
    }
}

int wrappedRowHeight(const QString& text, int charsPerLine, int lineTwips)
{
    return px(lineTwips * (1 + int(text.size()) / charsPerLine)) + 6;
}

void fitRowHeight(QTableWidget* grid, int row, int minimum)
{
    grid->resizeRowToContents(row);
    grid->setRowHeight(row, std::max(minimum, grid->rowHeight(row)));
}

QString cellText(const QTableWidget* grid, int row, int col)
{
    const auto* item = grid->item(row, col);
    return item ? item->text() : QString();
}

QLineEdit* valueBox(QWidget* parent, const char* name, int width)
{
    auto* e = new QLineEdit(QStringLiteral("0"), parent);
    e->setObjectName(QLatin1String(name));
    e->setReadOnly(true);
    e->setMinimumWidth(width);
    e->setMaximumWidth(width + 60);
    return e;
}

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

ui::NumericEdit* numericBox(QWidget* parent, const char* name, const QString& text, int maxWidth)
{
    auto* e = new ui::NumericEdit(ui::NumericEdit::Converting, parent);
    e->setObjectName(QLatin1String(name));
    e->setText(text);
    e->setMaximumWidth(maxWidth);
    return e;
}

QLabel* wrapLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

QLabel* calculationNameLabel(QWidget* parent, const QString& name)
{
    auto* l = wrapLabel(parent, "lblName", QStringLiteral("Наименование расчета: ") + name);
    QFont bold = l->font();
    bold.setBold(true);
    l->setFont(bold);
    return l;
}

void prepareGrid(QTableWidget* grid, const QStringList& header, const QList<int>& twips, int headerTwips)
{
    grid->clear();
    grid->setColumnCount(int(header.size()));
    grid->setRowCount(2);
    QFont bold = grid->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (int c = 0; c < header.size(); ++c) {
        setCell(grid, 0, c, header[c]);
        const int w = c < twips.size() ? twips[c] : 1000;
        grid->setColumnHidden(c, w == 0);
        int widest = 0;
        for (const QString& word : header[c].split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word));
        if (w > 0)
            grid->setColumnWidth(c, std::max(px(w), widest + 14));
    }
    if (headerTwips > 0)
        grid->setRowHeight(0, std::max(px(headerTwips), 3 * grid->fontMetrics().lineSpacing() + 8));
}

void fitGridHeight(QTableWidget* grid)
{
    int h = 2 * grid->frameWidth();
    for (int r = 0; r < grid->rowCount(); ++r)
        h += grid->rowHeight(r);
    if (grid->horizontalScrollBar()->isVisible() || grid->horizontalHeader()->length() > grid->viewport()->width())
        h += grid->horizontalScrollBar()->sizeHint().height();
    grid->setMinimumHeight(h);
    grid->setMaximumHeight(h);
}

}  // namespace veltron::screens
