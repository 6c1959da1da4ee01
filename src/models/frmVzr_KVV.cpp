#include "models/frmVzr_KVV.h"

#include "calc/number_text.h"
#include "calc/tnt_equivalent.h"
#include "models/frmOutput_KVV.h"
#include "records/compound_lookup.h"
#include "records/journal.h"
#include "screens/form_widgets.h"
#include "screens/report_folder_dialog.h"
#include "screens/stop_message.h"
#include "screens/store_errors.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron::models {

using screens::wrapLabel;

namespace {

const QString kDirectory = QStringLiteral("frmBD_KVV");

}  // namespace

frmVzr_KVV::frmVzr_KVV(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmVzr_KVV"),
                 QStringLiteral("Определение тротилового эквивалента для твердых и жидких химически нестабильных "
                                "соединений"),
                 parent),
      state_(state)
{
    mnuRaschet = addMenuAction(QStringLiteral("mnuRaschet"), QStringLiteral("Расчет"), [this] { run(); });
    mnuReturn = addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    mnuReports = addMenuAction(QStringLiteral("mnuReports"), QStringLiteral("Папка для сохранения отчета"),
                               [this] { screens::openReportFolder(state_, this); });
    mnuExit = addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    int row = 0;

    grid->addWidget(wrapLabel(central, "Label1", QStringLiteral("Наименование блока")), row, 0);
    Name_blok = new QLineEdit(central);
    Name_blok->setObjectName(QStringLiteral("Name_blok"));
    Name_blok->setMinimumWidth(360);
    grid->addWidget(Name_blok, row++, 1, 1, 2);

    Combo1 = new QComboBox(central);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumWidth(360);
    connect(Combo1, &QComboBox::activated, this, [this] { compoundChosen(); });
    Command3 = new QPushButton(QStringLiteral("Выбор твердых и жидких химически нестабильных соединений"), central);
    Command3->setObjectName(QStringLiteral("Command3"));
    connect(Command3, &QPushButton::clicked, this, [this] { openCompoundsDirectory(); });
    grid->addWidget(Command3, row, 0);
    grid->addWidget(Combo1, row++, 1, 1, 2);

    lblNoCompounds = wrapLabel(central, "lblNoCompounds", QString());
    lblNoCompounds->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
    lblNoCompounds->hide();
    grid->addWidget(lblNoCompounds, row++, 0, 1, 3);

    grid->addWidget(wrapLabel(central, "Label2",
                              QStringLiteral("Удельная энергия взрыва, кДж/кг (для твердых и жидких соединений)")),
                    row, 0);
    Energy = screens::numericBox(central, "Energy", QStringLiteral("4520"), 160);
    grid->addWidget(Energy, row++, 1);

    grid->addWidget(wrapLabel(central, "Label3",
                              QStringLiteral("Масса твердых и жидких химически нестабильных соединений, кг")),
                    row, 0);
    Massa_G = screens::numericBox(central, "Massa_G", QStringLiteral("100"), 160);
    grid->addWidget(Massa_G, row++, 1);

    Command1 = new QPushButton(QStringLiteral("Расчет"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setMinimumWidth(140);
    connect(Command1, &QPushButton::clicked, this, [this] { run(); });

    auto* layout = new QVBoxLayout(central);
    layout->addLayout(grid);
    layout->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    setCentralWidget(central);

    loadCompounds();
    resize(860, 250);
}

void frmVzr_KVV::loadCompounds()
{
    Combo1->clear();
    QStringList names;
    const bool read = screens::onStore([&] { names = records::explosiveNames(state_.db()); },
                                       QStringLiteral("Список соединений не загружен."));
    Combo1->addItems(names);
    const bool offered = !names.isEmpty();
    Command1->setEnabled(offered);
    mnuRaschet->setEnabled(offered);
    lblNoCompounds->setVisible(!offered);
    if (!read)
        lblNoCompounds->setText(QStringLiteral("Список соединений не прочитан из базы данных, поэтому расчет "
                                               "недоступен."));
    else if (!offered)
        lblNoCompounds->setText(QStringLiteral("В справочнике нет ни одного твердого или жидкого химически "
                                               "нестабильного соединения, поэтому расчет недоступен. Добавьте "
                                               "соединение кнопкой «Выбор твердых и жидких химически нестабильных "
                                               "соединений»."));
    if (offered) {
        Combo1->setCurrentIndex(0);
        compoundChosen();
    }
}

std::optional<QString> frmVzr_KVV::directoryEnergy(const QString& compound) const
{
    std::optional<records::Explosive> found;
    if (!screens::onStore([&] { found = records::findExplosive(state_.db(), compound); }) || !found)
        return std::nullopt;
    return found->Energy ? calc::numberText(*found->Energy) : QString();
}

void frmVzr_KVV::compoundChosen()
{
    if (const auto energy = directoryEnergy(Combo1->currentText()))
        Energy->setText(*energy);
}

bool frmVzr_KVV::run()
{
    if (Combo1->count() == 0)
        return false;
    for (ui::NumericEdit* box : {Energy, Massa_G})
        if (!box->checkValue())
            return false;
    calc::UnstableCase c;
    c.blockName = Name_blok->text();
    c.compound = Combo1->currentText();
    c.energyText = Energy->text();
    c.massText = Massa_G->text();
    c.energy = *calc::parseNumber(c.energyText);
    c.mass = *calc::parseNumber(c.massText);

    const calc::ZoneOutcome outcome = calc::runUnstable(c);
    if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
        screens::showStop(*stop);
        return false;
    }
    if (!screens::onStore([&] { records::appendJournalRow(state_.db(), c.blockName, c.compound); },
                          QStringLiteral("Расчет не выполнен.")))
        return false;
    state_.lastUnstable = calc::UnstableRun{c, std::get<calc::ZoneRun>(outcome)};
    hide();
    (new frmOutput_KVV(state_, this, *state_.lastUnstable))->show();
    return true;
}

void frmVzr_KVV::openCompoundsDirectory()
{
    // The directory's "<<Назад" closes it; this screen then shows again with
    // the compounds as the directory left them and the compound it showed,
    // under its new name when it was renamed. The energy typed stays unless
    // the directory changed the compound's energy.
    const QString chosen = Combo1->currentText();
    const QString typed = Energy->text();
    const std::optional<QString> energyBefore = directoryEnergy(chosen);
    ui::openDirectory(this, kDirectory, [=, this](const ui::Renames& renames) {
        loadCompounds();
        ui::keepChoice(Combo1, chosen, renames);
        if (Combo1->currentText() != renames.follow(chosen))
            return;
        if (directoryEnergy(Combo1->currentText()) == energyBefore)
            Energy->setText(typed);
        else
            compoundChosen();
    });
}

void frmVzr_KVV::back()
{
    ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
}

}  // namespace veltron::models
