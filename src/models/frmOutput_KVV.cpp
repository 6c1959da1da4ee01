#include "models/frmOutput_KVV.h"

#include "records/signature.h"
#include "report/unstable_report.h"
#include "screens/form_widgets.h"
#include "screens/report_folder_dialog.h"
#include "screens/zone_results.h"
#include "ui/navigator.h"
#include "ui/report_file.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace veltron::models {

using screens::wrapLabel;

namespace {

// A value of the results: a framed label that wraps and can be selected.
QLabel* valueLabel(QWidget* parent, const char* name, const QString& text)
{
    auto* l = wrapLabel(parent, name, text);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    l->setMinimumWidth(200);
    l->setMargin(3);
    return l;
}

}  // namespace

frmOutput_KVV::frmOutput_KVV(AppState& state, QWidget* inputScreen, const calc::UnstableRun& run, QWidget* parent)
    : ui::ReturningScreen(QStringLiteral("frmOutput_KVV"), QStringLiteral("Результаты расчета"), inputScreen, parent),
      state_(state),
      run_(run)
{
    mnuReturn = addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { returnToCaller(); });
    mnuWord = addMenuAction(QStringLiteral("mnuWord"), QStringLiteral("Вывод результатов в Mword"), [this] { report(); });
    mnuFolder = addMenuAction(QStringLiteral("mnuFolder"), QStringLiteral("Папка для сохранения отчета"),
                              [this] { screens::openReportFolder(state_, this); });
    mnuExit = addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });

    const report::UnstableView view = report::unstableView(run_.input, run_.result);
    auto* central = new QWidget(this);
    auto* values = new QGridLayout;
    values->setColumnMinimumWidth(0, 260);
    values->setColumnMinimumWidth(1, 420);
    values->setColumnStretch(2, 1);
    int row = 0;
    const auto value = [&](const char* captionName, const QString& caption, QLabel*& field, const char* name,
                           const QString& text) {
        values->addWidget(wrapLabel(central, captionName, caption), row, 0);
        field = valueLabel(central, name, text);
        values->addWidget(field, row++, 1);
    };
    value("LName_blok", QStringLiteral("Наименование блока"), Name_blok, "Name_blok", view.Name_blok);
    value("LKvv", QStringLiteral("Вид взрывоопасного вещества"), lKvv, "lKvv", view.lKvv);
    value("LMassa", QStringLiteral("Масса, кг"), lMassa, "lMassa", view.lMassa);
    value("Lqk", QStringLiteral("Удельная энергия взрыва, кДж/кг"), lqk, "lqk", view.lqk);
    value("LabelWt", QStringLiteral("Тротиловый эквивалент взрыва, кг"), LWt, "LWt", view.LWt);
    QFont bold = LWt->font();
    bold.setBold(true);
    LWt->setFont(bold);

    zones = new screens::ZoneResults({}, central);
    zones->showZones(run_.result.R0);

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(values);
    layout->addSpacing(8);
    auto* zoneRow = new QHBoxLayout;
    zoneRow->addWidget(zones);
    zoneRow->addStretch(1);
    layout->addLayout(zoneRow);
    layout->addStretch(1);
    setCentralWidget(central);
    resize(1180, 600);
}

void frmOutput_KVV::showEvent(QShowEvent* event)
{
    ui::ReturningScreen::showEvent(event);
    if (!event->spontaneous())
        zones->calculate();
}

QString frmOutput_KVV::report()
{
    const report::ZoneTable table = zones->table();
    const report::ZoneMapData map = zones->mapData().value();
    return ui::makeReportInPlace(state_.reportFolder, state_.dataDir, [this, &table, &map] {
        return report::buildUnstableReport(run_.input, run_.result, table, map,
                                           records::rememberedSignature(state_.dataDir));
    });
}

}  // namespace veltron::models
