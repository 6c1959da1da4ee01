#include "screens/frmSave.h"

#include "records/calculations.h"
#include "screens/frmInput.h"
#include "screens/store_errors.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron::screens {

namespace {

const QString kTitle = QStringLiteral("В н и м а н и е ! ! !");

void refuse(const QString& text)
{
    ui::dialogs().inform(kTitle, text, ui::Icon::Critical);
}

}  // namespace

frmSave::frmSave(AppState& state, Mode mode, frmInput* input, QWidget* parent)
    : ui::Screen(QStringLiteral("frmSave"),
                 mode == Mode::Rename ? QStringLiteral("Переименовать") : QStringLiteral("Выбор варианта загрузки"),
                 parent),
      state_(state),
      mode_(mode),
      input_(input)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    Frame1 = new QGroupBox(QStringLiteral("Название расчета"), central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* frame = new QVBoxLayout(Frame1);
    txtRasch = new QLineEdit(state_.current.name, Frame1);
    txtRasch->setObjectName(QStringLiteral("txtRasch"));
    frame->addWidget(txtRasch);
    layout->addWidget(Frame1);
    Command1 = new QPushButton(QStringLiteral("Сохранить"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);
    layout->addStretch();
    setCentralWidget(central);

    addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    mnuLoad = addMenuAction(QStringLiteral("mnuLoad"), QStringLiteral("Загрузить"), [] {});
    mnuLoad->setVisible(false);
    addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });

    const auto follow = [this] { Command1->setEnabled(!txtRasch->text().trimmed().isEmpty()); };
    connect(txtRasch, &QLineEdit::textChanged, this, follow);
    follow();
    connect(Command1, &QPushButton::clicked, this, [this] { save(); });
    resize(460, 170);
}

bool frmSave::save()
{
    const QString name = txtRasch->text().trimmed();
    if (name == state_.current.name) {
        refuse(QStringLiteral("Поменяйте имя расчета!"));
        return false;
    }
    if (name.isEmpty()) {
        refuse(QStringLiteral("Введите имя расчета!"));
        return false;
    }
    try {
        return mode_ == Mode::Rename ? rename(name) : saveAs(name);
    } catch (const db::StoreError& e) {
        showStoreError(e, QStringLiteral("Изменения в базе данных не внесены."));
        return false;
    }
}

bool frmSave::rename(const QString& name)
{
    const auto same = records::findByName(state_.db(), name);
    if (same && same->id != state_.current.id) {
        refuse(QStringLiteral("В базе есть расчет с таким именем!"));
        return false;
    }
    records::renameCalculation(state_.db(), state_.current.id, name);
    state_.current.name = name;
    if (input_) {
        input_->showCalculationName();
        input_->show();
    }
    leave();
    return true;
}

bool frmSave::saveAs(const QString& name)
{
    if (!input_)
        return false;
    const auto conditions = input_->readConditions();
    if (!conditions)
        return false;
    if (records::findByName(state_.db(), name)) {
        const auto answer = ui::dialogs().ask(kTitle,
                                              QStringLiteral("В базе есть расчет с таким именем. Измените название "
                                                             "или старый расчет будет заменен с потерей данных по нему!"),
                                              ui::Icon::None, ui::Buttons::YesNo);
        if (answer != ui::Answer::Yes)
            return false;
    }
    state_.current = records::saveAs(state_.db(), state_.current.id, name, *conditions);
    input_->leave();
    ui::goTo(this, QStringLiteral("frmInput"), QStringLiteral("frmLoad_Rasch"));
    return true;
}

void frmSave::back()
{
    if (input_) {
        input_->show();
        leave();
    } else {
        ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
    }
}

}  // namespace veltron::screens
