#include "screens/frmNyu.h"

#include "calc/number_text.h"
#include "calc/nyu_coefficient.h"
#include "records/directories.h"
#include "screens/store_errors.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron::screens {

namespace {

QString twoDecimals(double x)
{
    const calc::FixedDigits d = calc::roundFixed(x, 2);
    return (d.negative ? QStringLiteral("-") : QString()) + QString::fromStdString(d.integer) + QLatin1Char(',')
           + QString::fromStdString(d.fraction);
}

}  // namespace

frmNyu::frmNyu(AppState& state, const QString& tempv, QWidget* returnTo, Accept accept, QWidget* parent)
    : ui::ReturningScreen(QStringLiteral("frmNyu"), QStringLiteral("Расчет коэффициента интенсивности испарения"),
                          returnTo, parent),
      state_(state),
      accept_(std::move(accept)),
      savedSpeed_(state.nyu.speed),
      savedTemperature_(state.nyu.temperature)
{
    auto* central = new QWidget(this);
    V = new ui::NumericEdit(ui::NumericEdit::Converting, central);
    V->setObjectName(QStringLiteral("V"));
    V->setText(QStringLiteral("0"));
    T = new ui::NumericEdit(ui::NumericEdit::Converting, central);
    T->setObjectName(QStringLiteral("T"));
    T->setText(QStringLiteral("20"));
    txtNyu = new QLineEdit(QStringLiteral("0"), central);
    txtNyu->setObjectName(QStringLiteral("txtNyu"));
    txtNyu->setReadOnly(true);
    txtNyu->setEnabled(false);
    for (QLineEdit* e : {static_cast<QLineEdit*>(V), static_cast<QLineEdit*>(T), txtNyu})
        e->setMaximumWidth(120);

    Command3 = new QPushButton(QStringLiteral("Рассчитать"), central);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command1 = new QPushButton(QStringLiteral("Ввести"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Отмена"), central);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command3, &QPushButton::clicked, this, [this] { calculate(); });
    connect(Command1, &QPushButton::clicked, this, [this] { enter(); });
    connect(Command2, &QPushButton::clicked, this, [this] { cancel(); });

    auto* grid = new QGridLayout;
    const auto labelled = [&](const char* name, const QString& caption, QWidget* field, int row) {
        QLabel* label = wrapLabel(central, name, caption);
        label->setBuddy(field);  // names the field in messages
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    labelled("LabelV", QStringLiteral("скорость воздушного потока в помещении, м/с"), V, 0);
    labelled("LabelT", QStringLiteral("температура воздуха в помещении, °C"), T, 1);
    grid->addWidget(wrapLabel(central, "LabelNyu", QStringLiteral("коэффициент ")), 2, 0);
    grid->addWidget(txtNyu, 2, 1);
    grid->setColumnStretch(0, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command3);
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setCentralWidget(central);
    resize(520, 220);

    calculate();
    T->setText(tempv);
}

bool frmNyu::calculate()
{
    const auto v = calc::parseNumber(V->text());
    const auto t = calc::parseNumber(T->text());
    if (!v || !t) {
        ui::showInputError(v ? T : V);
        (v ? T : V)->setFocus(Qt::OtherFocusReason);
        return false;
    }
    calc::NyuOutcome outcome;
    const db::Store& store = state_.db();
    if (!onStore([&] {
            outcome = calc::nyuCoefficient(*v, *t, [&store](double speed) { return records::nyuRowsAt(store, speed); });
        }))
        return false;
    if (!outcome.Nyu) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("В таблице коэффициентов интенсивности испарения нет значений для "
                                            "скорости воздушного потока %1 м/с при температуре %2 °C. Коэффициент "
                                            "не рассчитан.")
                                 .arg(outcome.missing, T->text()),
                             ui::Icon::Critical);
        return false;
    }
    state_.nyu.speed = *v;
    state_.nyu.temperature = *t;
    txtNyu->setText(twoDecimals(*outcome.Nyu));
    return true;
}

void frmNyu::enter()
{
    if (accept_)
        accept_(T->text(), txtNyu->text());
    returnToCaller();
}

void frmNyu::cancel()
{
    state_.nyu.speed = savedSpeed_;
    state_.nyu.temperature = savedTemperature_;
    returnToCaller();
}

}  // namespace veltron::screens
