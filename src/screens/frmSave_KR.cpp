#include "screens/frmSave_KR.h"

#include "calc/number_text.h"
#include "records/complex_pool.h"
#include "screens/store_errors.h"
#include "screens/energy_captions.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron::screens {

namespace {

constexpr int kNameLength = 25;

}  // namespace

frmSave_KR::frmSave_KR(AppState& state, const report::ResultsView& view, const QString& name, QWidget* returnTo,
                       QWidget* parent)
    : ui::ReturningScreen(QStringLiteral("frmSave_KR"), QStringLiteral("Данные для комплексного расчета"), returnTo,
                          parent),
      state_(state)
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* nameRow = new QGridLayout;
    nameRow->addWidget(wrapLabel(central, "Label1", QStringLiteral("ИМЯ для сохранения данных комплексного расчета")),
                       0, 0);
    txtName = new QLineEdit(central);
    txtName->setObjectName(QStringLiteral("txtName"));
    txtName->setMaxLength(kNameLength);
    txtName->setMinimumWidth(260);
    nameRow->addWidget(txtName, 0, 1);
    nameRow->addWidget(wrapLabel(central, "Label2", QStringLiteral("(размерность до 25 символов)")), 1, 1);
    lblShortened = wrapLabel(central, "lblShortened", QString());
    lblShortened->setStyleSheet(QStringLiteral("QLabel { color: #b00000; }"));
    lblShortened->hide();
    nameRow->addWidget(lblShortened, 2, 0, 1, 2);
    nameRow->setColumnStretch(0, 1);
    layout->addLayout(nameRow);

    auto* grid = new QGridLayout;
    grid->setColumnStretch(0, 1);
    int row = 0;
    const auto field = [&](const char* labelName, const QString& caption, QLineEdit*& box, const char* name) {
        grid->addWidget(wrapLabel(central, labelName, caption), row, 0);
        box = valueBox(central, name, 150);
        grid->addWidget(box, row, 1);
        ++row;
    };
    field("LE11", captions::LE11, E11, "E11");
    field("LE12", captions::LE12, E12, "E12");
    field("LE21", captions::LE21, E21, "E21");
    field("LE22", captions::LE22, E22, "E22");
    field("LE23", captions::LE23, E23, "E23");
    field("LE24", captions::LE24, E24, "E24");
    field("LWt", QStringLiteral("Тротиловый эквивалент взрыва парогазовой среды, кг"), Wt, "Wt");
    layout->addLayout(grid);

    Command1 = new QPushButton(QStringLiteral("Сохранить"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Отмена"), central);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, [this] { save(); });
    connect(Command2, &QPushButton::clicked, this, [this] { cancel(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    resize(820, 480);

    txtName->setText(name);
    // A longer name of the calculation is proposed cut short: say so, and
    // leave the user in the box to make a name of it.
    if (name.size() > kNameLength) {
        lblShortened->setText(QStringLiteral("Наименование расчета «%1» длиннее %2 символов, поэтому предложено "
                                             "сокращенное имя «%3». Исправьте его при необходимости.")
                                  .arg(name)
                                  .arg(kNameLength)
                                  .arg(txtName->text()));
        lblShortened->show();
        txtName->setFocus(Qt::OtherFocusReason);
        txtName->selectAll();
    }
    const std::pair<QLineEdit*, const QString*> values[] = {{E11, &view.E11}, {E12, &view.E12}, {E21, &view.E21},
                                                             {E22, &view.E22}, {E23, &view.E23}, {E24, &view.E24},
                                                             {Wt, &view.Wt}};
    for (const auto& [box, text] : values)
        box->setText(*text);
}

bool frmSave_KR::save()
{
    const QString name = txtName->text().trimmed();
    if (name.isEmpty()) {
        ui::dialogs().inform(QStringLiteral("Ввод данных"),
                             QStringLiteral("Введите ИМЯ для сохранения данных комплексного расчета!"),
                             ui::Icon::Warning);
        txtName->setFocus();
        return false;
    }
    records::PoolEntry entry{name};
    const struct {
        QLineEdit* box;
        double* value;
    } fields[] = {{E11, &entry.E11}, {E12, &entry.E12}, {E21, &entry.E21}, {E22, &entry.E22},
                  {E23, &entry.E23}, {E24, &entry.E24}, {Wt, &entry.Wt}};
    for (const auto& f : fields) {
        const auto v = calc::parseNumber(f.box->text());
        if (!v) {
            const auto* label = findChild<QLabel*>(QStringLiteral("L") + f.box->objectName());
            ui::dialogs().inform(QStringLiteral("Ввод данных"),
                                 QStringLiteral("Проверьте правильность ввода: в поле «%1» не число («%2»). Данные "
                                                "не сохранены.")
                                     .arg(label ? label->text() : f.box->objectName(), f.box->text()),
                                 ui::Icon::Warning);
            return false;
        }
        *f.value = *v;
    }
    bool added = false;
    if (!onStore([&] { added = records::addPoolEntry(state_.db(), entry); }))
        return false;
    if (!added) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Данные с именем \"%1\" уже сохранены для комплексного расчета. Введите "
                                            "другое имя.")
                                 .arg(name),
                             ui::Icon::Critical);
        txtName->setFocus();
        return false;
    }
    returnToCaller();
    return true;
}

}  // namespace veltron::screens
