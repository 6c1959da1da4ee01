#include "screens/settings_panel.h"

#include "calc/number_text.h"
#include "records/calculations.h"
#include "records/directories.h"
#include "screens/store_errors.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>

namespace veltron::screens {

QString settingsTitle()
{
    return QStringLiteral("Настройки...|Программа \"Вельтрон\"");
}

namespace {

QLabel* formula(QWidget* parent, const char* name, const QString& html)
{
    auto* l = new QLabel(html, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::RichText);
    l->setStyleSheet(QStringLiteral("QLabel { background: white; border: 1px solid #b0b0b0; padding: 4px; font-size: 12pt; }"));
    l->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    return l;
}

QLabel* note(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    return l;
}

QLabel* seeManual(QWidget* parent, const char* name)
{
    auto* l = new QLabel(QStringLiteral("смотри инструкцию"), parent);
    l->setObjectName(QLatin1String(name));
    l->setStyleSheet(QStringLiteral("QLabel { color: #0000c0; }"));
    return l;
}

QRadioButton* option(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QRadioButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

ui::NumericEdit* massField(QWidget* parent, const char* name)
{
    auto* e = new ui::NumericEdit(ui::NumericEdit::Signed | ui::NumericEdit::Converting, parent);
    e->setObjectName(QLatin1String(name));
    e->setText(QStringLiteral("0"));
    e->setMaximumWidth(140);
    return e;
}

}  // namespace

SettingsPanel::SettingsPanel(Mode mode, QWidget* parent) : QWidget(parent), mode_(mode)
{
    setObjectName(QStringLiteral("settingsPanel"));

    // Work of adiabatic expansion.
    Frame1 = new QGroupBox(QStringLiteral("Определение энергии адиабатического расширения А, кДж"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Option1 = option(Frame1, "Option1", QStringLiteral("Формула 3.1"));
    Option2 = option(Frame1, "Option2", QStringLiteral("Формула 3.2"));
    OLE1 = formula(Frame1, "OLE1",
                   QStringLiteral("A = <sup>1</sup>&frasl;<sub>k&minus;1</sub>&middot;P&middot;V'&middot;"
                                  "[1 &minus; (P<sub>0</sub>/P)<sup>(k&minus;1)/k</sup>]"));
    OLE2 = formula(Frame1, "OLE2", QStringLiteral("A = &beta;<sub>1</sub>&middot;P&middot;V'"));
    Label4 = note(Frame1, "Label4",
                  QStringLiteral("P - давление в блоке перед АРБ (регламентное), V' - объем в блоке, занимаемый ПГФ. "
                                 "Для резервуаров с жидкостями P определяется с учетом давления Pn (давление "
                                 "насыщенного пара), а V' равен свободному объему над зеркалом жидкости"));
    Label7 = note(Frame1, "Label7",
                  QStringLiteral("Формула 3.2 применяется для проведения экспертных оценок по ПБ 09-540-03, где "
                                 "значение коэффициента бета в зависимости от показателя адиабаты среды и давления "
                                 "в технологическом блоке определяется интерполяционным путем из таблицы"));
    Label1 = seeManual(Frame1, "Label1");
    {
        auto* g = new QGridLayout(Frame1);
        g->addWidget(Option1, 0, 0);
        g->addWidget(Option2, 1, 0);
        g->addWidget(OLE1, 0, 1, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
        g->addWidget(OLE2, 0, 1, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
        g->addWidget(Label4, 2, 0, 1, 2);
        g->addWidget(Label7, 3, 0, 1, 2);
        g->addWidget(Label1, 4, 0, 1, 2, Qt::AlignRight);
        g->setColumnStretch(1, 1);
        g->setRowStretch(5, 1);
    }

    // Vapour mass from the spill.
    Frame2 = new QGroupBox(QStringLiteral("Определение массы парогазовой фазы, кг"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Option3 = option(Frame2, "Option3", QStringLiteral("Формула 12"));
    Option4 = option(Frame2, "Option4", QStringLiteral("Формула 16"));
    OLE3 = formula(Frame2, "OLE3", QStringLiteral("G<sub>&Sigma;</sub> = G<sub>4</sub> + G<sub>5</sub>"));
    OLE4 = formula(Frame2, "OLE4",
                   QStringLiteral("G<sub>&Sigma;</sub> = K<sub>G</sub>&middot;F<sub>к</sub>&middot;"
                                  "&tau;<sub>к</sub> / (50&middot;180)"));
    Label5 = note(Frame2, "Label5",
                  QStringLiteral("Формула 12 является основной. Формула 16 применяется для жидкостей с "
                                 "температурой кипения от -80 до 60 °C, в противном случае ОШИБКА в расчете "
                                 "значительная. Для ЛВЖ (бензин и прочее) рекомендуется применять "
                                 "формулу 12."));
    Label2 = seeManual(Frame2, "Label2");
    {
        auto* g = new QGridLayout(Frame2);
        g->addWidget(Option3, 0, 0);
        g->addWidget(Option4, 1, 0);
        g->addWidget(OLE3, 0, 1, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
        g->addWidget(OLE4, 0, 1, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
        g->addWidget(Label5, 2, 0, 1, 2);
        g->addWidget(Label2, 3, 0, 1, 2, Qt::AlignRight);
        g->setColumnStretch(1, 1);
        g->setRowStretch(4, 1);
    }

    // Saturated vapour pressure.
    Frame3 = new QGroupBox(QStringLiteral("Определение давления насыщенного пара, МПа"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Option5 = option(Frame3, "Option5", QStringLiteral("Формула 14.2"));
    Option6 = option(Frame3, "Option6", QStringLiteral("Формула 14.3"));
    Option7 = option(Frame3, "Option7", QStringLiteral("Формула Антуана"));
    OLE5 = formula(Frame3, "OLE5",
                   QStringLiteral("P<sub>н</sub> = P<sub>0</sub>&middot;exp[(1/T<sub>к</sub> &minus; "
                                  "1/T<sub>р</sub>)&middot;r&middot;M/R]"));
    OLE6 = formula(Frame3, "OLE6",
                   QStringLiteral("P<sub>н</sub> = exp[6,908 + 0,043&middot;(t<sub>р</sub> &minus; "
                                  "0,924&middot;t<sub>всп</sub> + 2,6055)] / (7,48&middot;t<sub>всп</sub> + 1047)"));
    OLE10 = formula(Frame3, "OLE10", QStringLiteral("lg P = A &minus; B / (C<sub>a</sub> + t)"));
    Label6 = note(Frame3, "Label6",
                  QStringLiteral("Формула 14.2 применяется для жидкостей с температурой кипения ниже температуры "
                                 "окружающей среды, так называемым, криогенным жидкостям, кПа. Формула 14.3 "
                                 "применяется для ЛВЖ (бензин и прочее), кПа"));
    Label8 = note(Frame3, "Label8",
                  QStringLiteral("Давление насыщенного пара чистого вещества можно определить по формуле Антуана:\n"
                                 "Р - давление насыщенного пара, кПа;\n"
                                 "А, В, Са - константы формулы Антуана;\n"
                                 "T - расчетная температура, °C."));
    Label3 = seeManual(Frame3, "Label3");
    {
        auto* g = new QGridLayout(Frame3);
        g->addWidget(Option5, 0, 0);
        g->addWidget(Option6, 1, 0);
        g->addWidget(Option7, 2, 0);
        for (QLabel* l : {OLE5, OLE6, OLE10})
            g->addWidget(l, 0, 1, 3, 1, Qt::AlignLeft | Qt::AlignVCenter);
        g->addWidget(Label6, 3, 0, 1, 2);
        g->addWidget(Label8, 4, 0, 1, 2);
        g->addWidget(Label3, 5, 0, 1, 2, Qt::AlignRight);
        g->setColumnStretch(1, 1);
        g->setRowStretch(6, 1);
    }

    // Entered masses.
    auto* masses = new QGroupBox(this);
    masses->setObjectName(QStringLiteral("FrameMasses"));
    Check1 = new QCheckBox(masses);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check2 = new QCheckBox(masses);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check3 = new QCheckBox(masses);
    Check3->setObjectName(QStringLiteral("Check3"));
    G4 = massField(masses, "G4");
    G5 = massField(masses, "G5");
    Gs = massField(masses, "Gs");
    OLE7 = formula(masses, "OLE7",
                   QStringLiteral("G<sub>4</sub> = 2&middot;(t<sub>п</sub> &minus; t<sub>к</sub>)/r &middot; "
                                  "&epsilon;/&radic;&pi; &middot; F<sub>к</sub>&middot;&radic;&tau;"));
    OLE8 = formula(masses, "OLE8",
                   QStringLiteral("G<sub>5</sub> = W&middot;F<sub>и</sub>&middot;&tau;"));
    OLE9 = formula(masses, "OLE9", QStringLiteral("G<sub>&Sigma;</sub> = G<sub>4</sub> + G<sub>5</sub>"));
    {
        auto* v = new QVBoxLayout(masses);
        const struct {
            QCheckBox* box;
            const char* caption;
            QLabel* picture;
            ui::NumericEdit* field;
        } rows[] = {
            {Check1,
             "известна масса ЖФ, испарившейся за счет теплопритока от твердой поверхности (пола, поддона, "
             "обвалования и т.п.), кг",
             OLE7, G4},
            {Check2,
             "известна масса ЖФ, испарившейся за счет теплопередачи от окружающего воздуха к пролитой жидкости "
             "(по зеркалу испарения), кг",
             OLE8, G5},
            {Check3, "известна суммарная масса ЖФ, испарившейся за счет теплопритока из окружающей среды, кг", OLE9,
             Gs},
        };
        for (const auto& r : rows) {
            v->addLayout(checkRow(r.box, QString::fromUtf8(r.caption), masses));
            r.field->setAccessibleName(QString::fromUtf8(r.caption));  // names the field in messages
            auto* h = new QHBoxLayout;
            h->addSpacing(24);
            h->addWidget(r.picture);
            h->addWidget(r.field);
            h->addStretch(1);
            v->addLayout(h);
        }
        v->addStretch(1);
    }

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Frame1, 0, 0);
    grid->addWidget(Frame2, 0, 1);
    grid->addWidget(Frame3, 1, 0);
    grid->addWidget(masses, 1, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    Option1->setChecked(true);
    Option3->setChecked(true);
    Option5->setChecked(true);

    connect(Check1, &QCheckBox::toggled, this, [this] { applyCheck1(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { applyCheck2(); });
    connect(Check3, &QCheckBox::toggled, this, [this] { applyCheck3(); });
    for (QRadioButton* b : {Option1, Option2})
        connect(b, &QRadioButton::clicked, this, [this] { applyAdiabatic(); });
    for (QRadioButton* b : {Option3, Option4})
        connect(b, &QRadioButton::clicked, this, [this] { applyMass(); });
    connect(Option4, &QRadioButton::clicked, this, [this] { warnIfMassTableIncomplete(); });
    for (QRadioButton* b : {Option5, Option6, Option7})
        connect(b, &QRadioButton::clicked, this, [this] { applyPressure(); });

    applyCheck1();
    applyCheck2();
    applyCheck3();
    applyAdiabatic();
    applyMass();
    applyPressure();
}

void SettingsPanel::applyCheck1()
{
    G4->setVisible(Check1->isChecked());
    OLE7->setVisible(Check1->isChecked());
}

void SettingsPanel::applyCheck2()
{
    G5->setVisible(Check2->isChecked());
    OLE8->setVisible(Check2->isChecked());
}

void SettingsPanel::applyCheck3()
{
    const bool total = Check3->isChecked();
    if (total) {
        Check1->setChecked(false);
        Check2->setChecked(false);
    }
    // On the settings screen formula 16 keeps the two single masses locked.
    const bool singlesAllowed = !total && !(mode_ == Mode::SettingsScreen && Option4->isChecked());
    Check1->setEnabled(singlesAllowed);
    Check2->setEnabled(singlesAllowed);
    OLE9->setVisible(total);
    Gs->setVisible(total);
    Frame3->setEnabled(!total && !Option4->isChecked());
    Frame2->setEnabled(!total);
}

void SettingsPanel::applyAdiabatic()
{
    const bool f31 = Option1->isChecked();
    OLE1->setVisible(f31);
    Label4->setVisible(f31);
    OLE2->setVisible(!f31);
    Label7->setVisible(!f31);
}

void SettingsPanel::applyMass()
{
    const bool f12 = Option3->isChecked();
    OLE3->setVisible(f12);
    OLE4->setVisible(!f12);
    Frame3->setEnabled(f12 && !Check3->isChecked());
    if (mode_ == Mode::SettingsScreen) {
        if (!f12) {
            Check1->setChecked(false);
            Check2->setChecked(false);
        }
        Check1->setEnabled(f12 && !Check3->isChecked());
        Check2->setEnabled(f12 && !Check3->isChecked());
    }
}

void SettingsPanel::applyPressure()
{
    OLE5->setVisible(Option5->isChecked());
    OLE6->setVisible(Option6->isChecked());
    OLE10->setVisible(Option7->isChecked());
    Label6->setVisible(!Option7->isChecked());
    Label8->setVisible(Option7->isChecked());
}

QString SettingsPanel::incompleteTableNotice(const QString& ranges)
{
    return QStringLiteral("Таблица коэффициентов формулы 16 в базе данных неполная: для температуры кипения %1 "
                          "в ней нет строк таблицы правил, и там коэффициент получается линейной интерполяцией "
                          "между соседними строками. Для таких жидкостей результат по формуле 16 проверьте по "
                          "таблице правил; основной является формула 12.")
        .arg(ranges);
}

QString SettingsPanel::interpolatedRanges(const std::vector<double>& t)
{
    // The rules tabulate the coefficient in bands of boiling temperature at most
    // 20 °C wide (60...40 °C); a wider step between two rows skips rows of the rules.
    constexpr double kWidestBand = 20;
    QStringList ranges;
    for (size_t i = 1; i < t.size(); ++i)
        if (t[i] - t[i - 1] > kWidestBand && t[i] > -80 && t[i - 1] < 60)
            ranges << QStringLiteral("от %1 до %2 °C").arg(calc::numberText(t[i - 1]), calc::numberText(t[i]));
    return ranges.join(QStringLiteral(" и "));
}

void SettingsPanel::warnIfMassTableIncomplete()
{
    if (!store_)
        return;
    std::vector<double> t;
    try {
        t = records::massTableTemperatures(*store_);
    } catch (const db::StoreError&) {
        return;  // an unreadable table stops the run itself, with its own message
    }
    const QString ranges = interpolatedRanges(t);
    if (ranges.isEmpty())
        return;
    ui::dialogs().inform(QStringLiteral("Внимание!"), incompleteTableNotice(ranges), ui::Icon::Information);
}

bool SettingsPanel::load(AppState& state, bool hideFrame3)
{
    store_ = state.store.get();
    std::optional<calc::RunSettings> stored;
    if (!onStore([&] { stored = records::storedRunSettings(state.db(), state.current.id); }))
        return false;
    if (!stored) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Условия расчета \"%1\" не найдены в базе данных.").arg(state.current.name),
                             ui::Icon::Critical);
        return false;
    }

    state.runSettings.A = stored->A;
    state.runSettings.G = stored->G;

    (stored->A == 0 ? Option1 : Option2)->setChecked(true);
    (stored->G == 0 ? Option3 : Option4)->setChecked(true);
    (stored->Pn == 1 ? Option5 : stored->Pn == 2 ? Option6 : Option7)->setChecked(true);

    if (mode_ == Mode::RunDialog)
        Frame3->setHidden(hideFrame3);

    if (stored->Gs) {
        Check1->setChecked(false);
        Check2->setChecked(false);
        Check3->setChecked(true);
        Gs->setText(calc::numberText(stored->znGs));
    } else {
        Check3->setChecked(false);
        const struct {
            bool entered;
            double value;
            QCheckBox* box;
            ui::NumericEdit* field;
        } singles[] = {{stored->G4, stored->znG4, Check1, G4}, {stored->G5, stored->znG5, Check2, G5}};
        for (const auto& single : singles) {
            if (single.entered) {
                single.box->setChecked(true);
                single.field->setText(calc::numberText(single.value));
            } else {
                single.box->setChecked(false);
                if (mode_ == Mode::RunDialog)
                    single.field->setText(QStringLiteral("0"));
            }
        }
    }

    applyCheck1();
    applyCheck2();
    applyCheck3();
    applyAdiabatic();
    applyMass();
    applyPressure();
    return true;
}

std::optional<calc::RunSettings> SettingsPanel::read()
{
    calc::RunSettings s;
    s.A = Option1->isChecked() ? 0 : 1;
    s.G = Option3->isChecked() ? 0 : 1;
    s.Pn = Option5->isChecked() ? 1 : Option6->isChecked() ? 2 : 3;

    const auto number = [](ui::NumericEdit* field) -> std::optional<double> {
        const auto v = calc::parseNumber(field->text());
        if (!v) {
            ui::showInputError(field);
            field->setFocus(Qt::OtherFocusReason);
        }
        return v;
    };
    if (Check3->isChecked()) {
        const auto v = number(Gs);
        if (!v)
            return std::nullopt;
        s.Gs = true;
        s.znGs = *v;
        return s;
    }
    if (Check1->isChecked()) {
        const auto v = number(G4);
        if (!v)
            return std::nullopt;
        s.G4 = true;
        s.znG4 = *v;
    }
    if (Check2->isChecked()) {
        const auto v = number(G5);
        if (!v)
            return std::nullopt;
        s.G5 = true;
        s.znG5 = *v;
    }
    return s;
}

}  // namespace veltron::screens
