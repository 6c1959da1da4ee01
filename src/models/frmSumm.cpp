#include "models/frmSumm.h"

#include "calc/number_text.h"
#include "records/journal.h"
#include "records/signature.h"
#include "report/format.h"
#include "report/summary_report.h"
#include "screens/form_widgets.h"
#include "screens/report_folder_dialog.h"
#include "screens/stop_message.h"
#include "screens/store_errors.h"
#include "screens/zone_map.h"
#include "screens/zone_results.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"
#include "ui/report_file.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace veltron::models {

using screens::wrapLabel;

namespace {

// A formula picture: rich text with sub- and superscripts.
QLabel* formulaPicture(QWidget* parent, const char* name, const QString& html)
{
    auto* l = new QLabel(html, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::RichText);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 1.2);
    l->setFont(f);
    l->setFrameShape(QFrame::StyledPanel);
    l->setMargin(6);
    l->setStyleSheet(QStringLiteral("QLabel { background: white; }"));
    return l;
}

}  // namespace

frmSumm::frmSumm(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmSumm"),
                 QStringLiteral("Блоки с парогазовыми смесями и с твердыми или жидкими нестабильными соединениями"),
                 parent),
      state_(state)
{
    mnuReturn = addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    mnuMWord = addMenuAction(QStringLiteral("mnuMWord"), QStringLiteral("Вывод результатов в MWord"), [this] { report(); });
    mnuFolder = addMenuAction(QStringLiteral("mnuFolder"), QStringLiteral("Папка для сохранения расчета"),
                              [this] { screens::openReportFolder(state_, this); });
    mnuExit = addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });

    auto* central = new QWidget(this);

    auto* inputs = new QGridLayout;
    inputs->setColumnStretch(0, 1);
    inputs->addWidget(wrapLabel(central, "Label1",
                                QStringLiteral("Тротиловый эквивалент взрыва парогазовой среды (ПГС), кг")),
                      0, 0);
    txtWt0 = screens::numericBox(central, "txtWt0", QStringLiteral("100"), 160);
    inputs->addWidget(txtWt0, 0, 1);
    inputs->addWidget(wrapLabel(central, "Label2",
                                QStringLiteral("Тротиловый эквивалент взрыва твердых и жидких химически "
                                               "нестабильных соединений, кг")),
                      1, 0);
    txtWt1 = screens::numericBox(central, "txtWt1", QStringLiteral("100"), 160);
    inputs->addWidget(txtWt1, 1, 1);

    Frame1 = new QGroupBox(QStringLiteral("Формула расчета приведенного радиуса суммарного заряда"), central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* formulas = new QGridLayout(Frame1);
    Option1 = new QRadioButton(QStringLiteral("22.1"), Frame1);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("22.2"), Frame1);
    Option2->setObjectName(QStringLiteral("Option2"));
    Option1->setChecked(true);
    OLE1 = formulaPicture(Frame1, "OLE1",
                          QStringLiteral("R<sub>0</sub> = W<sub>т</sub><sup>1/3</sup> / "
                                         "[1 + (3180 / W<sub>т</sub>)<sup>2</sup>]<sup>1/6</sup>"));
    OLE2 = formulaPicture(Frame1, "OLE2", QStringLiteral("R<sub>0</sub> = W<sub>т</sub><sup>1/3</sup>"));
    formulas->addWidget(Option1, 0, 0);
    formulas->addWidget(OLE1, 0, 1, Qt::AlignLeft);
    formulas->addWidget(Option2, 1, 0);
    formulas->addWidget(OLE2, 1, 1, Qt::AlignLeft);
    formulas->addWidget(wrapLabel(Frame1, "Label3",
                                  QStringLiteral("Формула 22.1 применяется при m < 5000 кг, а формула 22.2 при "
                                                 "m>=5000 кг")),
                        2, 0, 1, 2);
    formulas->setColumnStretch(1, 1);

    Command1 = new QPushButton(QStringLiteral("Расчет"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setMinimumWidth(140);
    connect(Command1, &QPushButton::clicked, this, [this] { run(); });

    auto* results = new QGridLayout;
    results->setColumnStretch(0, 1);
    results->addWidget(wrapLabel(central, "LWt", QStringLiteral("Суммарный тротиловый эквивалент Wт, кг")), 0, 0);
    txtWt = screens::valueBox(central, "txtWt", 130);
    txtWt->clear();
    results->addWidget(txtWt, 0, 1);
    results->addWidget(wrapLabel(central, "LR0", QStringLiteral("Приведенный радиус R0, м")), 1, 0);
    txtR0 = screens::valueBox(central, "txtR0", 130);
    txtR0->clear();
    results->addWidget(txtR0, 1, 1);

    screens::ZoneResults::Options zoneOptions;
    zoneOptions.mapPlace = screens::ZoneResults::Options::MapPlace::Apart;
    zones = new screens::ZoneResults(zoneOptions, central);

    auto* left = new QVBoxLayout;
    left->addLayout(inputs);
    left->addWidget(Frame1);
    auto* run = new QHBoxLayout;
    run->addStretch(1);
    run->addWidget(Command1);
    left->addLayout(run);
    left->addLayout(results);
    // The map under the results, beside the zone grid.
    left->addWidget(zones->map, 1);

    auto* layout = new QHBoxLayout(central);
    layout->addLayout(left, 5);
    layout->addSpacing(12);
    auto* right = new QVBoxLayout;
    right->addWidget(zones);
    right->addStretch(1);
    layout->addLayout(right, 6);
    setCentralWidget(central);
    resize(1240, 640);
}

bool frmSumm::run()
{
    for (ui::NumericEdit* box : {txtWt0, txtWt1})
        if (!box->checkValue())
            return false;
    calc::SummaryCase c;
    c.wt0Text = txtWt0->text();
    c.wt1Text = txtWt1->text();
    c.wt0 = *calc::parseNumber(c.wt0Text);
    c.wt1 = *calc::parseNumber(c.wt1Text);
    c.formula = Option2->isChecked() ? calc::RadiusFormula::CubeRoot22_2 : calc::RadiusFormula::Corrected22_1;

    const calc::ZoneOutcome outcome = calc::runSummary(c);
    if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
        screens::showStop(*stop);
        return false;
    }
    if (!screens::onStore(
            [&] { records::appendJournalRow(state_.db(), report::summaryJournalName(c), calc::kSummaryJournalConc); },
            QStringLiteral("Расчет не выполнен.")))
        return false;
    run_ = calc::SummaryRun{c, std::get<calc::ZoneRun>(outcome)};
    state_.lastSummary = run_;
    txtWt->setText(report::FormatResult(run_->result.Wt));
    txtR0->setText(report::FormatResult(run_->result.R0));
    zones->showZones(run_->result.R0);
    return true;
}

QString frmSumm::report()
{
    if (!run_) {
        screens::showNoRunYet();
        return {};
    }
    const report::ZoneTable table = zones->table();
    const report::ZoneMapData map = zones->mapData().value();
    return ui::makeReportInPlace(state_.reportFolder, state_.dataDir, [this, &table, &map] {
        return report::buildSummaryReport(run_->input, run_->result, table, map,
                                          records::rememberedSignature(state_.dataDir));
    });
}

void frmSumm::back()
{
    ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
}

}  // namespace veltron::models
