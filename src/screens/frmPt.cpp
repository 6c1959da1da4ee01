#include "screens/frmPt.h"

#include "calc/number_text.h"
#include "report/format.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace veltron::screens {

namespace {

QLabel* picture(QWidget* parent, const char* name, const QString& html)
{
    auto* l = new QLabel(html, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::RichText);
    l->setStyleSheet(QStringLiteral("QLabel { font-size: 12pt; }"));
    l->setMinimumWidth(36);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

ui::NumericEdit* factorField(QWidget* parent, const char* name)
{
    return numericBox(parent, name, QStringLiteral("0"), 140);
}

}  // namespace

frmPt::frmPt(const HeatInflow& h, const QString& rate, QWidget* returnTo, Accept accept, QWidget* parent)
    : ui::ReturningScreen(QStringLiteral("frmPt"),
                          QStringLiteral("скорость теплопритока к ЖФ от внешних теплоносителей|Программа "
                                         "\"Вельтрон\""),
                          returnTo, parent),
      accept_(std::move(accept))
{
    addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад с сохранением"), [this] { saveAndReturn(); });
    addMenuAction(QStringLiteral("mnuRaschet"), QStringLiteral("Расчет"), [this] { calculate(); });
    addMenuAction(QStringLiteral("mnuCancel"), QStringLiteral("Отмена"), [this] { cancel(); });

    auto* central = new QWidget(this);

    auto* options = new QGroupBox(central);
    options->setObjectName(QStringLiteral("FrameOptions"));
    auto* og = new QGridLayout(options);
    const auto option = [&](QRadioButton*& b, const char* name, const QString& text, int row) {
        b = new QRadioButton(text, options);
        b->setObjectName(QLatin1String(name));
        og->addWidget(b, row, 0, 1, row == 0 ? 3 : 1);
        connect(b, &QRadioButton::clicked, this, [this] { applyOptionRule(); });
    };
    option(Option1, "Option1", QStringLiteral("ввод с клавиатуры"), 0);
    option(Option2, "Option2", QString(), 1);
    option(Option3, "Option3", QString(), 2);
    option(Option4, "Option4", QString(), 3);
    const auto formulaPicture = [&](const char* name, const QString& html, int row) {
        og->addWidget(picture(options, name, html), row, 1, Qt::AlignLeft);
    };
    formulaPicture("OLEf1", QStringLiteral("q = K&middot;F&middot;&Delta;t"), 1);
    formulaPicture("OLEf2", QStringLiteral("q = W&middot;c&middot;&Delta;t"), 2);
    formulaPicture("OLEf3", QStringLiteral("q = W&middot;&theta;"), 3);
    Label8 = wrapLabel(options, "Label8", QStringLiteral("(10.1)"));
    Label9 = wrapLabel(options, "Label9", QStringLiteral("(10.2)"));
    Label10 = wrapLabel(options, "Label10", QStringLiteral("(10.3)"));
    og->addWidget(Label8, 1, 2);
    og->addWidget(Label9, 2, 2);
    og->addWidget(Label10, 3, 2);
    og->setColumnStretch(1, 1);

    per1 = factorField(central, "per1");
    per2 = factorField(central, "per2");
    per3 = factorField(central, "per3");
    txtPt = factorField(central, "txtPt");
    fK = picture(central, "fK", QStringLiteral("K ="));
    fW = picture(central, "fW", QStringLiteral("W ="));
    fF = picture(central, "fF", QStringLiteral("F ="));
    fc = picture(central, "fc", QStringLiteral("c ="));
    ftet = picture(central, "ftet", QStringLiteral("&theta; ="));
    ft = picture(central, "ft", QStringLiteral("&Delta;t ="));

    auto* factors = new QGridLayout;
    // Each factor field has the symbols of the formulas that use it beside it.
    const auto factorRow = [&](int row, std::initializer_list<QLabel*> symbols, ui::NumericEdit* field) {
        auto* h = new QHBoxLayout;
        h->addStretch(1);
        for (QLabel* s : symbols)
            h->addWidget(s);
        factors->addLayout(h, row, 0);
        factors->addWidget(field, row, 1);
    };
    factorRow(0, {fK, fW}, per1);
    factorRow(1, {fF, fc, ftet}, per2);
    factorRow(2, {ft}, per3);
    // The factors are named in messages by their symbols.
    per1->setAccessibleName(QStringLiteral("K / W"));
    per2->setAccessibleName(QStringLiteral("F / c / θ"));
    per3->setAccessibleName(QStringLiteral("Δt"));
    txtPt->setAccessibleName(QStringLiteral("q, кДж/с"));
    factors->addWidget(wrapLabel(central, "LabelPt", QStringLiteral("q, кДж/с =")), 3, 0, Qt::AlignRight);
    factors->addWidget(txtPt, 3, 1);
    factors->setColumnMinimumWidth(0, 120);

    auto* legend = new QGroupBox(central);
    legend->setObjectName(QStringLiteral("FrameLegend"));
    auto* lv = new QVBoxLayout(legend);
    Label1 = wrapLabel(legend, "Label1",
                       QStringLiteral("коэффициент теплопередачи от теплоносителя к горючей жидкости, кДж/(с·кв.м·К)"));
    Label2 = wrapLabel(legend, "Label2", QStringLiteral("площадь поверхности теплообмена, кв.м"));
    Label3 = wrapLabel(legend, "Label3", QStringLiteral("секундный расход греющего теплоносителя, кг/с"));
    Label4 = wrapLabel(legend, "Label4",
                       QStringLiteral("разность температур теплоносителей в процессе теплопередачи (через стенку), К"));
    Label5 = wrapLabel(legend, "Label5", QStringLiteral("удельная теплоемкость жидкой фазы, кДж/(кг·К)"));
    Label6 = wrapLabel(legend, "Label6", QStringLiteral("удельная теплота парообразования теплоносителя, кДж/кг"));
    const QString symbols[] = {QStringLiteral("K"), QStringLiteral("F"), QStringLiteral("W"),
                               QStringLiteral("&Delta;t"), QStringLiteral("c"), QStringLiteral("&theta;")};
    QLabel* legends[] = {Label1, Label2, Label3, Label4, Label5, Label6};
    for (int i = 0; i < 6; ++i) {
        auto* h = new QHBoxLayout;
        auto* s = new QLabel(QStringLiteral("<b>%1</b> &ndash;").arg(symbols[i]), legend);
        s->setMinimumWidth(40);
        h->addWidget(s, 0, Qt::AlignTop);
        h->addWidget(legends[i], 1);
        lv->addLayout(h);
    }
    Label7 = new QLabel(QStringLiteral("смотри инструкцию"), legend);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setStyleSheet(QStringLiteral("QLabel { color: #0000c0; }"));
    lv->addWidget(Label7, 0, Qt::AlignRight);

    Command1 = new QPushButton(QStringLiteral("Расчет"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Отмена"), central);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, [this] { calculate(); });
    connect(Command2, &QPushButton::clicked, this, [this] { cancel(); });

    auto* top = new QHBoxLayout;
    top->addWidget(options, 1);
    top->addLayout(factors, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(top);
    layout->addWidget(legend);
    layout->addLayout(buttons);
    setCentralWidget(central);
    resize(820, 460);

    // Loading: the stored formula, its rule and its factors; then the caller's rate.
    const int stored = int(h.formula);
    (stored == 1 ? Option2 : stored == 2 ? Option3 : stored == 3 ? Option4 : Option1)->setChecked(true);
    applyOptionRule();
    per1->setText(calc::numberText(h.per1));
    per2->setText(calc::numberText(h.per2));
    per3->setText(calc::numberText(h.per3));
    txtPt->setText(rate);
}

int frmPt::formula() const
{
    if (Option2->isChecked())
        return 1;
    if (Option3->isChecked())
        return 2;
    if (Option4->isChecked())
        return 3;
    return 0;
}

void frmPt::applyOptionRule()
{
    const int f = formula();
    Command1->setVisible(f != 0);
    txtPt->setEnabled(f == 0);
    per1->setVisible(f != 0);
    per2->setVisible(f != 0);
    per3->setVisible(f == 1 || f == 2);
    fK->setVisible(f == 1);
    fF->setVisible(f == 1);
    ft->setVisible(f == 1 || f == 2);
    fW->setVisible(f == 2 || f == 3);
    fc->setVisible(f == 2);
    ftet->setVisible(f == 3);
}

std::optional<double> frmPt::factor(ui::NumericEdit* field) const
{
    const auto v = calc::parseNumber(field->text());
    if (!v) {
        ui::showInputError(field);
        field->setFocus(Qt::OtherFocusReason);
    }
    return v;
}

bool frmPt::calculate()
{
    const int f = formula();
    if (f == 0)
        return true;
    const auto a = factor(per1);
    if (!a)
        return false;
    const auto b = factor(per2);
    if (!b)
        return false;
    double rate = *a * *b;
    if (f != 3) {
        const auto c = factor(per3);
        if (!c)
            return false;
        rate = rate * *c;
    }
    txtPt->setText(report::FormatResult(rate));
    return true;
}

bool frmPt::saveAndReturn()
{
    const int f = formula();
    HeatInflow h;
    if (f == 0) {
        if (!factor(txtPt))
            return false;
    } else {
        if (!calculate())
            return false;
        h.formula = f;
        h.per1 = *calc::parseNumber(per1->text());
        h.per2 = *calc::parseNumber(per2->text());
        h.per3 = f == 3 ? 0 : *calc::parseNumber(per3->text());
    }
    if (accept_)
        accept_(txtPt->text(), h);
    returnToCaller();
    return true;
}

}  // namespace veltron::screens
