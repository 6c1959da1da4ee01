#include "screens/zone_results.h"

#include "calc/number_text.h"
#include "screens/form_widgets.h"
#include "screens/zone_map_view.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltron::screens {

void showNoRunYet()
{
    ui::dialogs().inform(QStringLiteral("Внимание!"), QStringLiteral("Сначала выполните расчет."), ui::Icon::Critical);
}

ZoneResults::ZoneResults(const Options& options, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ZoneResults"));
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* layout = new QVBoxLayout;
    outer->addLayout(layout);

    Label29 = wrapLabel(this, "Label29", QStringLiteral("Классификация зон разрушения"));
    QFont bold = Label29->font();
    bold.setBold(true);
    Label29->setFont(bold);
    layout->addWidget(Label29);
    tabZone = makeGrid(this, "tabZone");
    tabZone->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tabZone->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A grid to read: it takes no focus, so no cell stands out as current.
    tabZone->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(tabZone);

    FrameCalc = new QGroupBox(this);
    FrameCalc->setObjectName(QStringLiteral("FrameCalc"));
    auto* cg = new QGridLayout(FrameCalc);
    cg->addWidget(wrapLabel(FrameCalc, "Label37",
                            QStringLiteral("Расчет зоны (м) в зависимости от введенного избыточного давления (кПа) с "
                                           "учетом аппроксимации коэффициента \"к\" ")),
                  0, 0, 1, 5);
    cg->addWidget(wrapLabel(FrameCalc, "Label38", QStringLiteral("Избыточное давление, кПа")), 1, 0);
    txtP = new QLineEdit(QStringLiteral("5"), FrameCalc);
    txtP->setAccessibleName(QStringLiteral("Избыточное давление, кПа"));
    txtP->setObjectName(QStringLiteral("txtP"));
    txtP->setMaximumWidth(90);
    cg->addWidget(txtP, 1, 1);
    calculateButton = new QPushButton(QStringLiteral("Расчет"), FrameCalc);
    calculateButton->setObjectName(options.buttonName);
    connect(calculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    cg->addWidget(calculateButton, 1, 2);
    cg->addWidget(wrapLabel(FrameCalc, "Label39", QStringLiteral("Зона, м")), 1, 3);
    txtX = valueBox(FrameCalc, "txtX", 100);
    txtX->setText(options.initialRadius);
    cg->addWidget(txtX, 1, 4);

    // The three approximations of K that the calculator blends.
    auto* coefficients = new QWidget(FrameCalc);
    coefficients->setObjectName(QStringLiteral("FrameK"));
    auto* kg = new QHBoxLayout(coefficients);
    kg->setContentsMargins(0, 0, 0, 0);
    const auto coefficient = [&](QLineEdit*& box, const char* name, const char* labelName, const QString& caption) {
        kg->addWidget(wrapLabel(coefficients, labelName, caption));
        box = valueBox(coefficients, name, 70);
        box->clear();
        kg->addWidget(box);
    };
    coefficient(Kint, "Kint", "LKint", QStringLiteral("K по таблице:"));
    coefficient(Kstep, "Kstep", "LKstep", QStringLiteral("степенной:"));
    coefficient(Kpol, "Kpol", "LKpol", QStringLiteral("полином:"));
    kg->addStretch(1);
    cg->addWidget(coefficients, 2, 0, 1, 5);
    coefficients->setVisible(options.showCoefficients);
    layout->addWidget(FrameCalc);
    layout->addStretch(1);

    map = new ZoneMap(this);
    if (options.mapPlace == Options::MapPlace::Beside)
        outer->addWidget(map, 1);

    prepareGrid(tabZone, report::zoneHeader(), {6300, 450, 1000, 1400});
    tabZone->setRowCount(7);
    for (int i = 0; i < 5; ++i)
        for (int c = 0; c < 3; ++c)
            setCell(tabZone, i + 1, c, report::zoneRows()[std::size_t(i)][c]);
    fitGrid();
}

void ZoneResults::showZones(double R0)
{
    R0_ = R0;
    const report::ZoneTable t = report::zoneTable(R0);
    for (int r = 1; r < 7; ++r)
        for (int c = 0; c < 4; ++c)
            setCell(tabZone, r, c, t[std::size_t(r)][std::size_t(c)]);
    if (overpressure_) {
        // A calculation for the zones of an earlier run no longer holds.
        overpressure_.reset();
        for (QLineEdit* box : {txtX, Kint, Kstep, Kpol})
            box->clear();
    }
    fitGrid();
    map->setData(mapData());
    Q_EMIT zonesShown(R0, calc::zoneRadii(R0));
}

bool ZoneResults::calculate()
{
    if (!R0_) {
        showNoRunYet();
        return false;
    }
    const auto P = calc::parseNumber(txtP->text());
    if (!P) {
        ui::showInputError(txtP);
        return false;
    }
    const report::Overpressure o = report::overpressure(*P, *R0_);
    if (o.clamped) {
        ui::dialogs().inform(QStringLiteral("Внимание!!!"), report::overpressureRangeMessage(o), ui::Icon::Warning);
        txtP->setText(o.txtP);
    }
    overpressure_ = o;
    txtX->setText(o.txtX);
    Kint->setText(o.Kint);
    Kstep->setText(o.Kstep);
    Kpol->setText(o.Kpol);
    for (int c = 0; c < 4; ++c)
        setCell(tabZone, 6, c, o.row6[std::size_t(c)]);
    fitGrid();
    map->setData(mapData());
    Q_EMIT overpressureCalculated(o.P, o.radius);
    return true;
}

report::ZoneTable ZoneResults::table() const
{
    return report::zoneTable(R0(), overpressure_ ? overpressure_->row6 : std::array<QString, 4>{});
}

std::optional<report::ZoneMapData> ZoneResults::mapData() const
{
    if (!R0_)
        return std::nullopt;
    return report::ZoneMapData{*R0_, overpressure_};
}

void ZoneResults::fitGrid()
{
    // The short columns take the width of their texts, the class column the rest.
    int total = 0;
    for (int c = 1; c < 4; ++c) {
        int widest = 0;
        for (int r = 0; r < tabZone->rowCount(); ++r)
            widest = std::max(widest, tabZone->fontMetrics().horizontalAdvance(cellText(tabZone, r, c)));
        tabZone->setColumnWidth(c, std::max(tabZone->columnWidth(c), widest + 14));
        total += tabZone->columnWidth(c);
    }
    tabZone->setColumnWidth(0, std::max(px(6300), 360));
    total += tabZone->columnWidth(0);
    tabZone->setMinimumWidth(total + 2 * tabZone->frameWidth());
    tabZone->resizeRowsToContents();
    fitGridHeight(tabZone);
}

}  // namespace veltron::screens
