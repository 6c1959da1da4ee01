#include "screens/frmBlok.h"

#include "records/directories.h"
#include "records/substances.h"
#include "screens/frmInput.h"
#include "screens/frmPt.h"
#include "screens/store_errors.h"
#include "screens/substance_marks.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "calc/number_text.h"
#include "calc/vapour_mass.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"
#include "ui/wrap_button.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace veltron::screens {

namespace {

using ui::NumericEdit;

const QString kNoMatch = QStringLiteral("нет вещест по фильтру");
const QString kQuestionTitle = QStringLiteral("В н и м а н и е ! ! !");
const QString kCheck1Design = QStringLiteral(
    "известна масса ПГФ, имеющихся непосредственно в блоке и поступивших в него при АРБ от смежных объектов, кг "
    "(использовать в Ф-4)");
const QString kCheck1Main = QStringLiteral("известна масса ПГФ, имеющаяся непосредственно в блоке, кг");
const QString kCheck1Adjacent = QStringLiteral("известна масса ПГФ, поступившая в него при АРБ от данного смежного блока, кг");

const auto kSignedConverting = NumericEdit::Flags(NumericEdit::Signed | NumericEdit::Converting);

QLabel* captionOf(QCheckBox* box)
{
    return box->parentWidget()->findChild<QLabel*>(box->objectName() + QStringLiteral("Caption"));
}

void refuseBelowAbsoluteZero()
{
    ui::dialogs().inform(QStringLiteral("Внимание!"),
                         QStringLiteral("Регламентированная температура должна быть выше абсолютного нуля "
                                        "(-273,15 °C)."),
                         ui::Icon::Critical);
}

bool isZeroText(const QString& text)
{
    const auto v = calc::parseNumber(text);
    return v && *v == 0;
}

}  // namespace

frmBlok::frmBlok(AppState& state, frmInput* input, bool adjacent, bool existing, int number, QWidget* parent)
    : ui::Screen(QStringLiteral("frmBlok"), QStringLiteral("Информация о блоках взрывопожароопасного оборудования"),
                 parent),
      state_(state),
      input_(input),
      adjacent_(adjacent),
      stored_(existing),
      number_(number)
{
    build();
    cmdGrpog->setCurrentIndex(0);
    kindChanged();
    Id->setText(QString::number(number));
    Frame2->setVisible(adjacent);
    if (adjacent && !existing)
        state_.heatInflow = HeatInflow{};
    if (existing) {
        captionOf(Check1)->setText(adjacent ? kCheck1Adjacent : kCheck1Main);
        onStore([&] {
            if (const auto b = records::findBlock(state_.db(), state_.current.id, number))
                loadBlock(*b);
        });
    }
    applyRules();
    resize(adjacent ? 1300 : 720, 720);
}

void frmBlok::build()
{
    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    auto* columns = new QHBoxLayout;
    outer->addLayout(columns, 1);
    auto* left = new QGridLayout;
    left->setColumnStretch(0, 1);
    left->setColumnMinimumWidth(0, 300);
    columns->addLayout(left, 1);

    const auto label = [&](QWidget* parent, const QString& field, const QString& text) {
        auto* l = wrapLabel(parent, ("lbl" + field).toLatin1().constData(), text);
        labels_.insert(field, l);
        return l;
    };
    const auto numeric = [&](QWidget* parent, const char* name, NumericEdit::Flags flags, const QString& text) {
        auto* e = new NumericEdit(flags, parent);
        e->setObjectName(QLatin1String(name));
        e->setText(text);
        e->setFixedWidth(110);
        return e;
    };
    const auto line = [&](QGridLayout* grid, QLabel* l, QWidget* field) {
        const int r = grid->rowCount();
        grid->addWidget(l, r, 0);
        grid->addWidget(field, r, 1, 1, 2, Qt::AlignLeft | Qt::AlignTop);
    };
    // A check box with its value field and formula picture below its caption.
    const auto boxWithValue = [&](QGridLayout* grid, QCheckBox* box, const QString& caption, QWidget* value,
                                  QLabel* picture) {
        const int r = grid->rowCount();
        grid->addLayout(checkRow(box, caption, box->parentWidget()), r, 0);
        grid->addWidget(value, r, 1, Qt::AlignTop);
        if (picture)
            grid->addWidget(picture, r, 2, Qt::AlignTop);
    };
    const auto picture = [&](QWidget* parent, const char* name, const QString& html) {
        auto* l = new QLabel(html, parent);
        l->setObjectName(QLatin1String(name));
        l->setTextFormat(Qt::RichText);
        return l;
    };

    Name_blok = new QLineEdit(central);
    Name_blok->setObjectName(QStringLiteral("Name_blok"));
    Name_blok->setMinimumWidth(260);
    left->addWidget(label(central, "Name_blok", QStringLiteral("Наименование блока")), 0, 0);
    left->addWidget(Name_blok, 0, 1, 1, 2);
    Id = new QLineEdit(QStringLiteral("1"), central);
    Id->setObjectName(QStringLiteral("Id"));
    Id->setEnabled(false);
    Id->setFixedWidth(110);
    line(left, label(central, "Id", QStringLiteral("Идентификационный номер блока")), Id);
    cmdGrpog = new QComboBox(central);
    cmdGrpog->setObjectName(QStringLiteral("cmdGrpog"));
    cmdGrpog->addItems({QStringLiteral("вещество"), QStringLiteral("смесь")});
    line(left, label(central, "cmdGrpog", QStringLiteral("Вид вещества")), cmdGrpog);
    txtFiltr = new QLineEdit(central);
    txtFiltr->setObjectName(QStringLiteral("txtFiltr"));
    Command6 = new QPushButton(QStringLiteral("Фильтр"), central);
    Command6->setObjectName(QStringLiteral("Command6"));
    {
        const int r = left->rowCount();
        left->addWidget(Command6, r, 0, Qt::AlignRight);
        left->addWidget(txtFiltr, r, 1, 1, 2);
    }
    Combo1 = new QComboBox(central);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(24);
    cmdVva = new QPushButton(QStringLiteral("Справочник веществ"), central);
    cmdVva->setObjectName(QStringLiteral("cmdVva"));
    {
        const int r = left->rowCount();
        left->addWidget(label(central, "Combo1", QStringLiteral("Наименование вещества в блоке")), r, 0);
        auto* row = new QHBoxLayout;
        row->addWidget(Combo1, 1);
        row->addWidget(cmdVva);
        left->addLayout(row, r, 1, 1, 2);
    }
    lblGaps = wrapLabel(central, "lblGaps", QString());
    lblGaps->hide();
    left->addWidget(lblGaps, left->rowCount(), 0, 1, 3);
    V_GF = numeric(central, "V_GF", NumericEdit::Converting, QStringLiteral("0"));
    line(left, label(central, "V_GF", QStringLiteral("Объем жидкой фазы в блоке при регламентных условиях, куб.м")), V_GF);
    V_PGF = numeric(central, "V_PGF", NumericEdit::Converting, QStringLiteral("0"));
    line(left, label(central, "V_PGF", QStringLiteral("Объем парогазовой фазы в блоке при регламентных условиях, куб.м")),
         V_PGF);
    Davl = numeric(central, "Davl", NumericEdit::Converting, QStringLiteral("0"));
    line(left, label(central, "Davl", QStringLiteral("Регламентированное абсолютное давление в блоке, МПа")), Davl);
    Temp = numeric(central, "Temp", kSignedConverting, QStringLiteral("0"));
    line(left, label(central, "Temp", QStringLiteral("Регламентированная температура, °C")), Temp);
    Plotn_GF = numeric(central, "Plotn_GF", NumericEdit::Converting, QStringLiteral("0"));
    line(left, label(central, "Plotn_GF", QStringLiteral("Регламентированная плотность жидкой фазы, кг/куб. м")),
         Plotn_GF);
    Command3 = new ui::WrapButton(QStringLiteral("Плотность ПГФ при атм. давление и регламентной температуре "
                                                 "(скорректированная плотность пара), кг/куб. м"),
                                  central);
    Command3->setObjectName(QStringLiteral("Command3"));
    Plotn_PGF = numeric(central, "Plotn_PGF", NumericEdit::Converting, QStringLiteral("0"));
    {
        const int r = left->rowCount();
        left->addWidget(Command3, r, 0);
        left->addWidget(Plotn_PGF, r, 1, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    }
    Adiab = numeric(central, "Adiab", NumericEdit::Plain, QStringLiteral("1,1"));
    line(left, label(central, "Adiab", QStringLiteral("Показатель адиабаты")), Adiab);

    Check1 = new QCheckBox(central);
    Check1->setObjectName(QStringLiteral("Check1"));
    G1 = numeric(central, "G1", kSignedConverting, QStringLiteral("0"));
    picG1 = picture(central, "picG1", QStringLiteral("<i>G</i><sub>1</sub>"));
    boxWithValue(left, Check1, kCheck1Design, G1, picG1);
    Command5 = new QPushButton(QStringLiteral("Рассчитать"), central);
    Command5->setObjectName(QStringLiteral("Command5"));
    Command5->hide();
    left->addWidget(Command5, left->rowCount(), 1, 1, 2, Qt::AlignLeft);
    Label11 = wrapLabel(central, "Label11",
                        QStringLiteral("Скорректирован расчет массы ПГФ по основному блоку, если ставится галочка для "
                                       "ввода в ручную - программа дает возможность рассчитать автоматически. Если "
                                       "значение введено с клавиатуры, то это значение и принимается в расчете. Для "
                                       "возвращения в режим автоматического расчета, необходимо нажать кнопку "
                                       "\"Рассчитать\""));
    QFont small = Label11->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    small.setItalic(true);
    Label11->setFont(small);
    left->addWidget(Label11, left->rowCount(), 0, 1, 3);
    Check2 = new QCheckBox(central);
    Check2->setObjectName(QStringLiteral("Check2"));
    G2 = numeric(central, "G2", kSignedConverting, QStringLiteral("0"));
    picG2 = picture(central, "picG2", QStringLiteral("<i>G</i><sub>2</sub>"));
    boxWithValue(left, Check2,
                 QStringLiteral("известна масса ЖФ, испарившейся зa счет энергии перегрева и поступившей в окружающую "
                                "среду при АРБ, кг"),
                 G2, picG2);
    Check5 = new QCheckBox(central);
    Check5->setObjectName(QStringLiteral("Check5"));
    pMi = numeric(central, "pMi", NumericEdit::Unchecked, QStringLiteral("0"));
    picMi = picture(central, "picMi", QStringLiteral("<i>m</i><sub>и</sub>"));
    boxWithValue(left, Check5, QStringLiteral("Известна интенсивность испарения, кг/(м кв.·с)"), pMi, picMi);
    left->setRowStretch(left->rowCount(), 1);

    Frame2 = new QGroupBox(QStringLiteral("Ввод дополнительной информации для смежных блоков"), central);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* right = new QGridLayout(Frame2);
    right->setColumnStretch(0, 1);
    right->setColumnMinimumWidth(0, 300);
    columns->addWidget(Frame2, 1);
    S_sech = numeric(Frame2, "S_sech", NumericEdit::Converting, QStringLiteral("0"));
    line(right, label(Frame2, "S_sech",
                      QStringLiteral("Площадь сечения, через которое возможно истечение ПГФ или ЖФ при АРБ, кв.м")),
         S_sech);
    T = numeric(Frame2, "T", NumericEdit::Converting, QStringLiteral("0"));
    line(right, label(Frame2, "T",
                      QStringLiteral("Время с момента АРБ до полного срабатывания отключающей аварийный блок арматуры, с")),
         T);
    Sk_teploper_GG = numeric(Frame2, "Sk_teploper_GG", NumericEdit::Converting, QStringLiteral("0"));
    line(right, label(Frame2, "Sk_teploper_GG",
                      QStringLiteral("Скорость теплопритока к ЖФ за счет суммарного теплового эффекта экзотермической "
                                     "реакции, кДЖ/с")),
         Sk_teploper_GG);
    t_P = numeric(Frame2, "t_P", NumericEdit::Converting, QStringLiteral("0"));
    line(right, label(Frame2, "t_P",
                      QStringLiteral("Время с момента АРБ до полного прекращения экзотермических процессов, с")),
         t_P);
    Command4 = new ui::WrapButton(QStringLiteral("Скорость теплопритока к ЖФ от внешних теплоносителей, кДЖ/с"), Frame2);
    Command4->setObjectName(QStringLiteral("Command4"));
    Sk_teploper_GF = numeric(Frame2, "Sk_teploper_GF", NumericEdit::Unchecked, QStringLiteral("0"));
    Sk_teploper_GF->setEnabled(false);
    {
        const int r = right->rowCount();
        right->addWidget(Command4, r, 0);
        right->addWidget(Sk_teploper_GF, r, 1, 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    }
    Koef_gidro = numeric(Frame2, "Koef_gidro", NumericEdit::Converting, QStringLiteral("0,4"));
    line(right, label(Frame2, "Koef_gidro", QStringLiteral("Безразмерный коэффициент, учитывающий гидродинамику процесса")),
         Koef_gidro);
    HScroll1 = new QSlider(Qt::Horizontal, Frame2);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(40, 80);
    HScroll1->setValue(40);
    {
        auto* sliderRow = new QHBoxLayout;
        sliderRow->addWidget(new QLabel(QStringLiteral("0.4"), Frame2));
        sliderRow->addWidget(HScroll1, 1);
        sliderRow->addWidget(new QLabel(QStringLiteral("0.8"), Frame2));
        right->addLayout(sliderRow, right->rowCount(), 0, 1, 3);
    }
    t_T = numeric(Frame2, "t_T", NumericEdit::Converting, QStringLiteral("0"));
    line(right, label(Frame2, "t_T",
                      QStringLiteral("Время с момента АРБ до полного прекращения подачи теплоносителя к аварийному "
                                     "блоку (прекращение теплообменного процесса), с")),
         t_T);
    txtVist = numeric(Frame2, "txtVist", NumericEdit::Converting, QStringLiteral("340"));
    line(right, label(Frame2, "txtVist",
                      QStringLiteral("Максимальная скорость истечения ПГФ в атмосферу при установившемся процессе "
                                     "истечения >10с, м/с")),
         txtVist);
    Check3 = new QCheckBox(Frame2);
    Check3->setObjectName(QStringLiteral("Check3"));
    txtVist_zad = numeric(Frame2, "txtVist_zad", NumericEdit::Converting, QStringLiteral("340"));
    boxWithValue(right, Check3, QStringLiteral("задать вручную скорость истечения ПГФ в атмосферу, м/с"), txtVist_zad,
                 nullptr);
    txtVistG = numeric(Frame2, "txtVistG", NumericEdit::Converting, QStringLiteral("340"));
    line(right, label(Frame2, "txtVistG",
                      QStringLiteral("Максимальная скорость истечения ЖФ в атмосферу при установившемся процессе "
                                     "истечения >10с, м/с")),
         txtVistG);
    Check4 = new QCheckBox(Frame2);
    Check4->setObjectName(QStringLiteral("Check4"));
    txtVistG_zad = numeric(Frame2, "txtVistG_zad", NumericEdit::Converting, QStringLiteral("340"));
    boxWithValue(right, Check4, QStringLiteral("задать вручную скорость истечения ЖФ в атмосферу, м/с"), txtVistG_zad,
                 nullptr);
    right->setRowStretch(right->rowCount(), 1);

    auto* buttons = new QHBoxLayout;
    Command2 = new QPushButton(QStringLiteral("Сохранить"), central);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1 = new QPushButton(QStringLiteral("<<Назад"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    outer->addLayout(buttons);
    setCentralWidget(central);

    mnuReturn = addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    mnuSave = addMenuAction(QStringLiteral("mnuSave"), QStringLiteral("Сохранить"), [this] { save(); });

    connect(Command2, &QPushButton::clicked, this, [this] { save(); });
    connect(Command6, &QPushButton::clicked, this, [this] { save(); });
    connect(Command1, &QPushButton::clicked, this, [this] { back(); });
    connect(Command3, &QPushButton::clicked, this, [this] { computeDensity(); });
    connect(Command5, &QPushButton::clicked, this, [this] { computeVapourMass(); });
    connect(Command4, &QPushButton::clicked, this, [this] { openHeatInflow(); });
    connect(cmdVva, &QPushButton::clicked, this, [this] { openSubstances(); });
    connect(cmdGrpog, &QComboBox::currentIndexChanged, this, [this] { kindChanged(); });
    connect(txtFiltr, &QLineEdit::textChanged, this, [this] { filterChanged(); });
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { substanceSelected(); });
    for (QCheckBox* box : {Check1, Check2, Check3, Check4, Check5})
        connect(box, &QCheckBox::toggled, this, [this] { applyRules(); });
    connect(HScroll1, &QSlider::valueChanged, this, [this](int value) {
        if (!syncingSlider_)
            Koef_gidro->setText(calc::numberText(value / 100.0));
    });
    connect(Koef_gidro, &NumericEdit::validLeft, this, [this](double v) { applyKoefGidroRange(v); });
}

QLabel* frmBlok::labelOf(const QString& field) const
{
    return labels_.value(field);
}

void frmBlok::showEvent(QShowEvent* event)
{
    ui::Screen::showEvent(event);
    applyRules();
}

void frmBlok::fillSubstances(const QString& filter)
{
    QStringList names;
    gaps_.clear();
    onStore([&] {
        names = records::substanceNames(state_.db(), cmdGrpog->currentIndex() + 1);
        for (const records::SubstanceRecord& s : records::substanceRecords(state_.db()))
            gaps_.insert(s.Name, records::missingProperties(s));
    });
    if (!filter.isEmpty())
        names = names.filter(filter, Qt::CaseSensitive);
    const bool none = !filter.isEmpty() && names.isEmpty();
    if (none)
        names << kNoMatch;
    refilling_ = true;
    Combo1->clear();
    Combo1->addItems(names);
    // A substance whose record lacks what every run reads carries a mark,
    // and the note names the missing fields.
    for (int i = 0; i < Combo1->count(); ++i) {
        const records::MissingProperties missing = gaps_.value(Combo1->itemText(i));
        if (!missing.always.isEmpty())
            Combo1->setItemIcon(i, missingMark(this));
        const QString note = records::missingPropertiesNote(missing);
        if (!note.isEmpty())
            Combo1->setItemData(i, note, Qt::ToolTipRole);
    }
    refilling_ = false;
    Combo1->setCurrentIndex(names.isEmpty() ? -1 : 0);
    substanceSelected();
    // The placeholder of an empty filter result is never saved as a substance.
    Combo1->setEnabled(!none);
    mnuSave->setEnabled(!none);
    Command2->setEnabled(!none);
    Command6->setEnabled(!none);
}

void frmBlok::kindChanged()
{
    {
        const QSignalBlocker block(txtFiltr);
        txtFiltr->clear();
    }
    fillSubstances(QString());
}

void frmBlok::filterChanged()
{
    fillSubstances(txtFiltr->text());
}

void frmBlok::substanceSelected()
{
    if (refilling_)
        return;
    molarMass_.reset();
    const QString name = Combo1->currentText();
    showMissing(lblGaps, gaps_.value(name));
    if (name.isEmpty() || name == kNoMatch)
        return;
    std::optional<records::Substance> s;
    onStore([&] { s = records::findSubstance(state_.db(), name); });
    if (!s)
        return;
    Adiab->setText(calc::numberText(s->PokAdiab));
    Plotn_GF->setText(calc::numberText(s->Plotn_GF));
    molarMass_ = s->Mol_massa;
}

void frmBlok::loadBlock(const records::Block& b)
{
    if (const auto substance = records::findSubstance(state_.db(), b.Name)) {
        const int index = substance->Vid_vva - 1;
        if (index >= 0 && index < cmdGrpog->count() && index != cmdGrpog->currentIndex())
            cmdGrpog->setCurrentIndex(index);
    }
    // A substance no longer in the directory stays the block's substance.
    if (Combo1->findText(b.Name) < 0 && !b.Name.isEmpty())
        Combo1->addItem(b.Name);
    Combo1->setCurrentIndex(Combo1->findText(b.Name));

    Name_blok->setText(b.Name_blok);
    Id->setText(QString::number(b.Id));
    V_GF->setText(calc::numberText(b.V_GF));
    V_PGF->setText(calc::numberText(b.V_PGF));
    Davl->setText(calc::numberText(b.Davl));
    Temp->setText(calc::numberText(b.Temp));
    Plotn_PGF->setText(calc::numberText(b.Plotn_PGF));
    Plotn_GF->setText(calc::numberText(b.Plotn_GF));
    Adiab->setText(calc::numberText(b.Adiab));
    if (adjacent_) {
        state_.heatInflow = HeatInflow{b.formula, b.per1, b.per2, b.per3};
        S_sech->setText(calc::numberText(b.S_sech));
        Sk_teploper_GG->setText(calc::numberText(b.Sk_teploper_GG));
        Sk_teploper_GF->setText(calc::numberText(b.Sk_teploper_GF));
        Koef_gidro->setText(calc::numberText(b.Koef_gidro));
        {
            syncingSlider_ = true;
            HScroll1->setValue(int(std::lround(b.Koef_gidro * 100)));
            syncingSlider_ = false;
        }
        T->setText(calc::numberText(b.t));
        t_P->setText(calc::numberText(b.t_P));
        t_T->setText(calc::numberText(b.t_T));
        txtVist->setText(calc::numberText(b.pVist));
        Check3->setChecked(b.pVist_zad != 0);
        txtVist_zad->setText(calc::numberText(b.pVist_zad));
        txtVistG->setText(calc::numberText(b.pVistG));
        Check4->setChecked(b.pVistG_zad != 0);
        txtVistG_zad->setText(calc::numberText(b.pVistG_zad));
    }
    Check1->setChecked(b.G1 != 0);
    G1->setText(b.G1 != 0 ? calc::numberText(b.znG1) : QStringLiteral("0"));
    Check2->setChecked(b.G2 != 0);
    G2->setText(b.G2 != 0 ? calc::numberText(b.znG2) : QStringLiteral("0"));
    Check5->setChecked(b.mi != 0);
    pMi->setText(b.mi != 0 ? calc::numberText(b.pmi) : QStringLiteral("0"));
    applyRules();
}

void frmBlok::showField(QWidget* field, bool shown)
{
    field->setVisible(shown);
    if (auto* box = qobject_cast<QCheckBox*>(field)) {
        if (QLabel* caption = captionOf(box))
            caption->setVisible(shown);
    }
    if (QLabel* l = labels_.value(field->objectName()))
        l->setVisible(shown);
}

void frmBlok::applyRules()
{
    const bool c1 = Check1->isChecked();
    const bool c2 = Check2->isChecked();
    const bool bothMasses = adjacent_ && c1 && c2;
    // Known vapour-gas mass.
    G1->setVisible(c1);
    picG1->setVisible(c1);
    // Only the main block's own vapour-gas mass can be computed from its data.
    Command5->setVisible(c1 && !adjacent_);
    Command3->setVisible(!c1);
    Plotn_PGF->setVisible(!c1);
    const bool speedOfVapour = !(c1 && adjacent_);
    showField(Check3, speedOfVapour);
    showField(Adiab, speedOfVapour);
    if (speedOfVapour) {
        showField(txtVist_zad, Check3->isChecked());
        showField(txtVist, !Check3->isChecked());
    } else {
        showField(txtVist_zad, false);
        showField(txtVist, false);
    }
    // Known evaporated liquid mass.
    G2->setVisible(c2);
    picG2->setVisible(c2);
    showField(V_GF, !c2);
    showField(Plotn_GF, !c2);
    const bool speedOfLiquid = !(c2 && adjacent_);
    showField(Check4, speedOfLiquid);
    if (speedOfLiquid) {
        showField(txtVistG_zad, Check4->isChecked());
        showField(txtVistG, !Check4->isChecked());
    } else {
        showField(txtVistG_zad, false);
        showField(txtVistG, false);
    }
    showField(S_sech, !bothMasses);
    showField(Davl, !bothMasses);
    showField(T, !bothMasses);
    // Known evaporation intensity.
    pMi->setVisible(Check5->isChecked());
    picMi->setVisible(Check5->isChecked());
}

void frmBlok::applyKoefGidroRange(double value)
{
    if (value < 0.4) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Безразмерный коэффициент, учитывающий гидродинамику процесса, не может быть "
                                            "меньше 0,4. Принято значение 0,4."),
                             ui::Icon::Information);
        Koef_gidro->setText(QStringLiteral("0,4"));
        value = 0.4;
    } else if (value > 0.8) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Безразмерный коэффициент, учитывающий гидродинамику процесса, не может быть "
                                            "больше 0,8. Принято значение 0,8."),
                             ui::Icon::Information);
        Koef_gidro->setText(QStringLiteral("0,8"));
        value = 0.8;
    }
    syncingSlider_ = true;
    HScroll1->setValue(int(std::lround(value * 100)));
    syncingSlider_ = false;
}

bool frmBlok::computeVapourMass()
{
    struct Field {
        NumericEdit* edit;
        double value = 0;
    };
    Field fields[] = {{Plotn_PGF}, {V_PGF}, {Davl}, {Temp}};
    for (Field& f : fields) {
        const auto value = calc::parseNumber(f.edit->text());
        if (!value) {
            ui::showInputError();
            f.edit->setFocus();
            return false;
        }
        f.value = *value;
    }
    const auto reduced = calc::reduceToNormalConditions(fields[0].value, fields[1].value, fields[2].value,
                                                        fields[3].value);
    if (!reduced) {
        refuseBelowAbsoluteZero();
        return false;
    }
    G1->setText(calc::russianLocale().toString(reduced->G, 'f', 2));
    return true;
}

bool frmBlok::computeDensity()
{
    const auto t = calc::parseNumber(Temp->text());
    if (!t) {
        ui::showInputError();
        Temp->setFocus();
        return false;
    }
    if (!molarMass_ || *molarMass_ <= 0) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Для расчета плотности ПГФ выберите вещество блока с известной молярной "
                                            "массой."),
                             ui::Icon::Critical);
        return false;
    }
    if (*t + calc::kCelsiusZero <= 0) {
        refuseBelowAbsoluteZero();
        return false;
    }
    const double density = *molarMass_ / 22.413 * 293.15 / (*t + 273.15);
    Plotn_PGF->setText(calc::russianLocale().toString(density, 'f', 3));
    return true;
}

void frmBlok::openHeatInflow()
{
    // The heat-inflow dialog hands back its rate and the state it came from.
    hide();
    QPointer<frmBlok> self(this);
    auto* dialog = new frmPt(state_.heatInflow, Sk_teploper_GF->text(), this,
                             [self](const QString& rate, const HeatInflow& h) {
                                 if (!self)
                                     return;
                                 self->state_.heatInflow = h;
                                 self->Sk_teploper_GF->setText(rate);
                             });
    dialog->show();
}

void frmBlok::openSubstances()
{
    ui::openFrom(this, QStringLiteral("frmVvo"), [this] {
        const QString chosen = Combo1->currentText();
        fillSubstances(txtFiltr->text());
        const int at = Combo1->findText(chosen);
        if (at > 0)
            Combo1->setCurrentIndex(at);
    });
}

std::optional<records::Block> frmBlok::readBlock()
{
    records::Block b;
    b.Id_Rasch = state_.current.id;
    b.Id = Id->text().toInt();
    b.Name = Combo1->currentText();
    b.Name_blok = Name_blok->text();
    if (b.Name.isEmpty() || b.Name == kNoMatch) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Не выбрано вещество в блоке. Блок не сохранен."), ui::Icon::Critical);
        return std::nullopt;
    }
    struct Field {
        NumericEdit* edit;
        double* target;
    };
    const Field fields[] = {
        {V_GF, &b.V_GF},           {V_PGF, &b.V_PGF},
        {Davl, &b.Davl},           {Temp, &b.Temp},
        {G1, &b.znG1},             {G2, &b.znG2},
        {pMi, &b.pmi},             {Plotn_PGF, &b.Plotn_PGF},
        {Plotn_GF, &b.Plotn_GF},   {Adiab, &b.Adiab},
        {S_sech, &b.S_sech},       {Sk_teploper_GG, &b.Sk_teploper_GG},
        {Sk_teploper_GF, &b.Sk_teploper_GF}, {Koef_gidro, &b.Koef_gidro},
        {T, &b.t},                 {t_P, &b.t_P},
        {t_T, &b.t_T},             {txtVist, &b.pVist},
        {txtVistG, &b.pVistG},     {txtVist_zad, &b.pVist_zad},
        {txtVistG_zad, &b.pVistG_zad},
    };
    for (const Field& f : fields) {
        const bool unused = (f.edit == G1 && !Check1->isChecked()) || (f.edit == G2 && !Check2->isChecked())
                            || (f.edit == pMi && !Check5->isChecked())
                            || (f.edit == txtVist_zad && !Check3->isChecked())
                            || (f.edit == txtVistG_zad && !Check4->isChecked());
        if (unused) {
            *f.target = 0;
            continue;
        }
        const auto value = calc::parseNumber(f.edit->text());
        if (!value) {
            QString caption = labels_.contains(f.edit->objectName()) ? labels_.value(f.edit->objectName())->text()
                                                                     : f.edit->objectName();
            if (f.edit == Plotn_PGF)
                caption = Command3->text();
            else if (f.edit == Sk_teploper_GF)
                caption = Command4->text();
            else if (f.edit == G1 || f.edit == G2 || f.edit == pMi)
                caption = captionOf(f.edit == G1 ? Check1 : f.edit == G2 ? Check2 : Check5)->text();
            else if (f.edit == txtVist_zad || f.edit == txtVistG_zad)
                caption = captionOf(f.edit == txtVist_zad ? Check3 : Check4)->text();
            ui::dialogs().inform(QStringLiteral("Ввод данных"),
                                 QStringLiteral("Проверте правильность ввода: в поле «%1» не число («%2»). Блок не "
                                                "сохранен.")
                                     .arg(caption, f.edit->text()),
                                 ui::Icon::Warning);
            if (f.edit->isVisibleTo(this) && f.edit->isEnabled())
                f.edit->setFocus();
            return std::nullopt;
        }
        *f.target = *value;
    }
    if (b.Koef_gidro < 0.4 || b.Koef_gidro > 0.8) {
        applyKoefGidroRange(b.Koef_gidro);
        b.Koef_gidro = std::clamp(b.Koef_gidro, 0.4, 0.8);
    }
    b.G1 = Check1->isChecked() ? 1 : 0;
    b.G2 = Check2->isChecked() ? 1 : 0;
    b.mi = Check5->isChecked() ? 1 : 0;
    b.formula = state_.heatInflow.formula;
    b.per1 = state_.heatInflow.per1;
    b.per2 = state_.heatInflow.per2;
    b.per3 = state_.heatInflow.per3;
    return b;
}

bool frmBlok::save()
{
    if (!Command2->isEnabled())
        return false;
    if (ui::dialogs().ask(kQuestionTitle,
                          QStringLiteral("Не правильно введенные данные, могут привести к ошибке в расчете! Продолжить "
                                         "сохранение?"),
                          ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return false;
    const auto b = readBlock();
    if (!b)
        return false;
    if (!onStore([&] { records::saveBlock(state_.db(), *b); }, QStringLiteral("Блок не сохранен.")))
        return false;
    stored_ = true;
    if (input_)
        input_->fillBlockGrids();
    return true;
}

void frmBlok::back()
{
    if (input_) {
        const bool liquid = (!isZeroText(V_GF->text()) && !isZeroText(Plotn_GF->text())) || Check2->isChecked();
        const bool mass = !isZeroText(G2->text()) || !Check2->isChecked();
        input_->setLiquidNotice(!((liquid && mass) || adjacent_));
        input_->show();
    }
    leave();
}

}  // namespace veltron::screens
