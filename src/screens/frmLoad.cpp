#include "screens/frmLoad.h"

#include "records/calculation_inputs.h"
#include "records/user_memory.h"
#include "screens/calculation_exchange.h"
#include "screens/store_errors.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace veltron::screens {

namespace {

const QString kTitle = QStringLiteral("Внимание!!!");

}  // namespace

frmLoad::frmLoad(AppState& state, records::Kind kind, QWidget* parent)
    : ui::Screen(kind == records::Kind::ModelI ? QStringLiteral("frmLoad") : QStringLiteral("frmLoad1"),
                 QStringLiteral("Выбор варианта загрузки"), parent),
      Option2(nullptr),
      state_(state),
      kind_(kind)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    Frame1 = new QGroupBox(central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* frame = new QVBoxLayout(Frame1);
    const auto option = [&](const char* name, const QString& caption) {
        auto* b = new QRadioButton(Frame1);
        b->setObjectName(QLatin1String(name));
        frame->addLayout(checkRow(b, caption, Frame1));
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyOption();
        });
        return b;
    };
    Option1 = option("Option1", QStringLiteral("новый расчет"));
    if (kind == records::Kind::ModelI)
        Option2 = option("Option2", QStringLiteral("последний загружаемый расчет"));
    Option3 = option("Option3", QStringLiteral("выбор из списка сохраненных расчетов"));
    txtRasch = new QLineEdit(Frame1);
    txtRasch->setObjectName(QStringLiteral("txtRasch"));
    Combo1 = new QComboBox(Frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(30);
    frame->addWidget(txtRasch);
    frame->addWidget(Combo1);
    layout->addWidget(Frame1);
    Command1 = new QPushButton(QStringLiteral("Загрузить"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    layout->addStretch();
    setCentralWidget(central);

    addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    addMenuAction(QStringLiteral("mnuLoad"), QStringLiteral("Загрузить"), [this] { load(); });
    if (kind == records::Kind::ModelI)
        addCalculationsMenu();
    addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });
    connect(Command1, &QPushButton::clicked, this, [this] { load(); });

    // The stored calculations, and the one opened last (or the first by name).
    QList<records::Calculation> list;
    state_.current = {};
    try {
        list = records::listCalculations(state_.db(), kind_);
        for (const auto& c : list)
            Combo1->addItem(c.name, c.id);
        const int last = records::UserMemory(state_.db(), state_.userSettingsFile).lastCalculation();
        if (const auto found = records::findById(state_.db(), last, kind_)) {
            state_.current = *found;
        } else if (!list.isEmpty()) {
            state_.current = list.first();
        }
    } catch (const db::StoreError& e) {
        showStoreError(e);
    }
    Combo1->setCurrentIndex(list.isEmpty() ? -1 : 0);
    // Without a stored calculation only a new one can be made.
    Option3->setEnabled(!list.isEmpty());
    if (Option2)
        Option2->setEnabled(!list.isEmpty());
    Option1->setChecked(true);
    applyOption();
    resize(460, 200);
}

void frmLoad::applyOption()
{
    const bool listShown = Option3->isChecked();
    Combo1->setVisible(listShown);
    txtRasch->setVisible(!listShown);
    if (Option1->isChecked()) {
        txtRasch->setReadOnly(false);
        if (txtRasch->text() == state_.current.name)
            txtRasch->clear();
    } else if (Option2 && Option2->isChecked()) {
        txtRasch->setReadOnly(true);
        txtRasch->setText(state_.current.name);
    }
}

bool frmLoad::chooseCalculation()
{
    if (Option1->isChecked()) {
        const QString name = txtRasch->text().trimmed();
        if (name.isEmpty()) {
            ui::dialogs().inform(kTitle,
                                 QStringLiteral("Необходимо ввести название для сохранения исходных данных расчета!"),
                                 ui::Icon::Critical);
            return false;
        }
        if (records::findByName(state_.db(), name, kind_)) {
            ui::dialogs().inform(kTitle,
                                 QStringLiteral("В базе есть расчет с таким именем. Измените название или выберите "
                                                "данное название из списка!"),
                                 ui::Icon::Critical);
            return false;
        }
        state_.current = records::createCalculation(state_.db(), name, kind_);
        return true;
    }
    if (Option2 && Option2->isChecked())
        return state_.current.id > 0;
    if (Combo1->currentIndex() < 0)
        return false;
    state_.current = {Combo1->currentData().toInt(), Combo1->currentText()};
    return true;
}

bool frmLoad::load()
{
    try {
        if (!chooseCalculation())
            return false;
        // A calculation whose stored data cannot be read (a number field that
        // holds no number) is not opened: the input screen would show other
        // values than the stored ones. The message names the field.
        if (kind_ == records::Kind::ModelI)
            records::loadCalculationInputs(state_.db(), state_.current);
    } catch (const db::StoreError& e) {
        showStoreError(e);
        return false;
    }
    if (kind_ == records::Kind::ModelI)
        ui::goTo(this, QStringLiteral("frmInput"), QStringLiteral("frmLoad_Rasch"));
    else
        ui::goTo(this, QStringLiteral("frmOutput_KR"), QStringLiteral("frmLoad_Rasch"));
    return true;
}

void frmLoad::back()
{
    ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
}

void frmLoad::addCalculationsMenu()
{
    QMenu* menu = addMenu(QStringLiteral("mnuRaschety"), QStringLiteral("Расчеты"));
    addMenuItem(menu, QStringLiteral("mnuSvod"), QStringLiteral("Сводная таблица блоков…"),
                [this] { ui::openFrom(this, QStringLiteral("frmPerechen")); });
    addMenuItem(menu, QStringLiteral("mnuExport"), QStringLiteral("Экспорт расчета…"), [this] { exportChosen(); });
    addMenuItem(menu, QStringLiteral("mnuImport"), QStringLiteral("Импорт расчета…"), [this] { importFile(); });
}

void frmLoad::exportChosen()
{
    std::optional<records::Calculation> chosen;
    if (Option3->isChecked() && Combo1->currentIndex() >= 0)
        chosen = records::Calculation{Combo1->currentData().toInt(), Combo1->currentText()};
    else if (Option2 && Option2->isChecked() && state_.current.id > 0)
        chosen = state_.current;
    if (!chosen) {
        ui::dialogs().inform(kTitle,
                             QStringLiteral("Выберите расчет в списке сохраненных расчетов, затем повторите экспорт."),
                             ui::Icon::Critical);
        return;
    }
    exportCalculation(state_, *chosen);
}

void frmLoad::importFile()
{
    const auto imported = importCalculations(state_);
    if (!imported || imported->calculations.isEmpty())
        return;
    refillList(imported->calculations.first().id);
    Option3->setEnabled(true);
    if (Option2)
        Option2->setEnabled(true);
    Option3->setChecked(true);
}

void frmLoad::refillList(int id)
{
    Combo1->clear();
    onStore([&] {
        for (const auto& c : records::listCalculations(state_.db(), kind_))
            Combo1->addItem(c.name, c.id);
    });
    Combo1->setCurrentIndex(std::max(0, Combo1->findData(id)));
}

}  // namespace veltron::screens
