#include "directories/frmVvo.h"

#include "calc/number_text.h"
#include "directories/number_boxes.h"
#include "records/value_ranges.h"
#include "screens/form_widgets.h"
#include "screens/store_errors.h"
#include "screens/substance_marks.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltron::directories {

namespace {

using screens::cellText;
using screens::onStore;
using screens::px;
using screens::setCell;
using ui::NumericEdit;
using Number = std::optional<double> records::SubstanceRecord::*;

const QString kQuestionTitle = QStringLiteral("В н и м а н и е ! ! !");
const QString kNotSaved = QStringLiteral("Вещество не сохранено.");
const QString kTable = QStringLiteral("SubstChar");

// A number box of the panel: its control, label, key rules and field.
struct NumberBox {
    NumericEdit* frmVvo::*box;
    const char* name;
    const char* label;
    NumericEdit::Flags flags;
    Number field;
    const char* column;  // the field of SubstChar
};

const NumberBox kBoxes[] = {
    {&frmVvo::Mol_massa, "Mol_massa", "Молярная масса, кг/кмоль",
     NumericEdit::Flags(NumericEdit::Converting | NumericEdit::EmptyAllowed), &records::SubstanceRecord::Mol_massa,
     "Mol_massa"},
    {&frmVvo::txtPlotnGF, "txtPlotnGF", "Плотность жидкой фазы, кг/м3", NumericEdit::Unchecked,
     &records::SubstanceRecord::Plotn_GF, "Plotn_GF"},
    {&frmVvo::T_plav, "T_plav", "Температура плавления при нормальных условиях, °C", NumericEdit::Unchecked,
     &records::SubstanceRecord::T_plavl, "T_plavl"},
    {&frmVvo::T_kip, "T_kip", "Температура кипения при нормальных условиях, °C",
     NumericEdit::Flags(NumericEdit::Signed | NumericEdit::Converting), &records::SubstanceRecord::T_kip, "T_kip"},
    {&frmVvo::T_vsp, "T_vsp", "Температура вспышки, °C",
     NumericEdit::Flags(NumericEdit::Signed | NumericEdit::Converting), &records::SubstanceRecord::Tvsp, "Tvsp"},
    {&frmVvo::txtNKPR, "txtNKPR", "НКПР  (приведен к 25 °С)", NumericEdit::Unchecked,
     &records::SubstanceRecord::NKPR, "NKPR"},
    {&frmVvo::txtVKPR, "txtVKPR", "ВКПР  (приведен к 25 °С)", NumericEdit::Unchecked,
     &records::SubstanceRecord::VKPR, "VKPR"},
    {&frmVvo::txtA, "txtA", "Константы формулы Антуана, А", NumericEdit::Unchecked, &records::SubstanceRecord::pA,
     "pA"},
    {&frmVvo::txtB, "txtB", "Константы формулы Антуана, В", NumericEdit::Unchecked, &records::SubstanceRecord::pB,
     "pB"},
    {&frmVvo::txtCa, "txtCa", "Константы формулы Антуана, Са", NumericEdit::Unchecked, &records::SubstanceRecord::pCa,
     "pCa"},
    {&frmVvo::txtnTpr, "txtnTpr", "Нижний темп. предел применимости ур-ния Антуана, °C", NumericEdit::Unchecked,
     &records::SubstanceRecord::pTmin, "pTmin"},
    {&frmVvo::txtvTpr, "txtvTpr", "Верхний темп. предел применимости ур-ния Антуана, °C", NumericEdit::Unchecked,
     &records::SubstanceRecord::pTmax, "pTmax"},
    {&frmVvo::Tepl_sgorPGF, "Tepl_sgorPGF", "Удельная теплота сгорания ПГФ, кДж/кг", NumericEdit::Converting,
     &records::SubstanceRecord::Tepl_sgorPGF, "Tepl_sgorPGF"},
    {&frmVvo::Tepl_paroobr, "Tepl_paroobr", "Удельная теплота парообразования, кДж/кг",
     NumericEdit::Flags(NumericEdit::Converting | NumericEdit::PointAccepted),
     &records::SubstanceRecord::Tepl_paroobr, "Tepl_paroobr"},
    {&frmVvo::Teploem_GF, "Teploem_GF", "Удельная теплоемкость жидкой фазы, кДж/(кг*К)", NumericEdit::Converting,
     &records::SubstanceRecord::Teploem_GF, "Teploem_GF"},
    {&frmVvo::txt_k, "txt_k", "Показатель адиабаты", NumericEdit::Unchecked, &records::SubstanceRecord::PokAdiab,
     "PokAdiab"},
};

// The columns of the grid: width in twips, header, and the number shown
// (none for the three text columns).
struct Column {
    int width;
    const char* header;
    Number field;
    const char* column;  // the field of SubstChar whose value a run must be able to use, if any
};

const Column kColumns[] = {
    {3000, "Наименование вещества", nullptr, nullptr},
    {1600, "Вид вещества", nullptr, nullptr},
    {1800, "Брутто-формула вещества", nullptr, nullptr},
    {2300, "Молярная масса, кг/кмоль", &records::SubstanceRecord::Mol_massa, "Mol_massa"},
    {2200, "Температура вспышки, °C", &records::SubstanceRecord::Tvsp, nullptr},
    {2200, "Температура кипения, °C", &records::SubstanceRecord::T_kip, "T_kip"},
    {1600, "УТС ПГФ, кДж/кг", &records::SubstanceRecord::Tepl_sgorPGF, "Tepl_sgorPGF"},
    {2900, "УТ парообразования ГЖ, кДж/кг", &records::SubstanceRecord::Tepl_paroobr, "Tepl_paroobr"},
    {3500, "Удельная теплоемкость ЖФ, кДж/(кг*K)", &records::SubstanceRecord::Teploem_GF, "Teploem_GF"},
};

QString kindText(const std::optional<int>& kind)
{
    if (!kind)
        return {};
    switch (*kind) {
    case 1: return QStringLiteral("вещество");
    case 2: return QStringLiteral("нефтепродукт");
    case 3: return QStringLiteral("смесь");
    default: return {};
    }
}

}  // namespace

frmVvo::frmVvo(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmVvo"), QStringLiteral("Ввод\\изменение веществ"), parent), state_(state)
{
    build();
    showBrowsing();
    FillSubstGrid(txtFiltr->text());
    resize(1240, 740);
}

void frmVvo::build()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    Frame2 = new QGroupBox(central);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* browse = new QVBoxLayout(Frame2);
    Label1 = screens::wrapLabel(Frame2, "Label1", QStringLiteral("Информация о всех известных веществах"));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    browse->addWidget(Label1);
    Tabl_Vva = screens::makeGrid(Frame2, "Tabl_Vva");
    Tabl_Vva->setSelectionBehavior(QAbstractItemView::SelectRows);
    Label2 = screens::wrapLabel(Frame2, "Label2", QStringLiteral("Нет введенных или удовлетворяющих фильтру веществ"));
    Label2->setAlignment(Qt::AlignCenter);
    browse->addWidget(Tabl_Vva, 1);
    browse->addWidget(Label2, 1);
    lblMissing = screens::wrapLabel(
        Frame2, "lblMissing",
        QStringLiteral("Знак ⚠ и выделенные ячейки: свойство, которое читает расчет, не задано или его значение "
                       "неприменимо (например, 0 там, где оно должно быть больше 0). Подробности — в подсказке к "
                       "наименованию."));
    browse->addWidget(lblMissing);
    Label3 = screens::wrapLabel(Frame2, "Label3",
                                QStringLiteral("УТС - удельная теплота сгорания; ЖФ - жидкая фаза;\n"
                                               "ПГФ - парогазовая фаза; ГЖ - горючая жидкость."));
    browse->addWidget(Label3);
    auto* browseButtons = new QHBoxLayout;
    txtFiltr = new QLineEdit(Frame2);
    txtFiltr->setObjectName(QStringLiteral("txtFiltr"));
    txtFiltr->setMaximumWidth(260);
    Command7 = screens::namedButton(Frame2, "Command7", QStringLiteral("Фильтр"));
    Command2 = screens::namedButton(Frame2, "Command2", QStringLiteral("Новое вещество"));
    Command5 = screens::namedButton(Frame2, "Command5", QStringLiteral("Изменить параметры вещества"));
    Command3 = screens::namedButton(Frame2, "Command3", QStringLiteral(" Удалить вещество"));
    browseButtons->addWidget(txtFiltr);
    browseButtons->addWidget(Command7);
    browseButtons->addStretch(1);
    browseButtons->addWidget(Command2);
    browseButtons->addWidget(Command5);
    browseButtons->addWidget(Command3);
    browse->addLayout(browseButtons);
    layout->addWidget(Frame2, 1);

    Frame1 = new QGroupBox(QStringLiteral("Параметры вещества"), central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* panel = new QGridLayout(Frame1);
    const auto label = [&](const char* name, const QString& text) {
        auto* l = screens::wrapLabel(Frame1, name, text);
        l->setMinimumWidth(230);
        return l;
    };
    Name_Vva = new QLineEdit(Frame1);
    Name_Vva->setObjectName(QStringLiteral("Name_Vva"));
    panel->addWidget(label("lblName_Vva", QStringLiteral("Наименование вещества")), 0, 0);
    panel->addWidget(Name_Vva, 0, 1, 1, 3);
    cmdGrpog = new QComboBox(Frame1);
    cmdGrpog->setObjectName(QStringLiteral("cmdGrpog"));
    cmdGrpog->addItems({QStringLiteral("вещество"), QStringLiteral("смесь")});
    panel->addWidget(label("lblcmdGrpog", QStringLiteral("Вид вещества")), 0, 4);
    panel->addWidget(cmdGrpog, 0, 5);
    txtBruttoF = new QLineEdit(Frame1);
    txtBruttoF->setObjectName(QStringLiteral("txtBruttoF"));
    panel->addWidget(label("lbltxtBruttoF", QStringLiteral("Брутто-формула вещества")), 1, 0);
    panel->addWidget(txtBruttoF, 1, 1, 1, 3);

    // The number boxes fill three columns of label and box, row by row.
    int cell = 2;  // the brutto formula took the first column of row 1
    for (const NumberBox& b : kBoxes) {
        auto* box = new NumericEdit(b.flags, Frame1);
        box->setObjectName(QLatin1String(b.name));
        box->setMaximumWidth(120);
        this->*b.box = box;
        const QString text = QString::fromUtf8(b.label);
        labels_.insert(box, text);
        const int row = 1 + cell / 3;
        const int col = (cell % 3) * 2;
        panel->addWidget(label(("lbl" + QByteArray(b.name)).constData(), text), row, col);
        panel->addWidget(box, row, col + 1);
        ++cell;
    }
    const int last = 1 + (cell + 2) / 3;
    Dop_inf = new QLineEdit(Frame1);
    Dop_inf->setObjectName(QStringLiteral("Dop_inf"));
    panel->addWidget(label("lblDop_inf", QStringLiteral("Дополнительная текстовая информация")), last, 0);
    panel->addWidget(Dop_inf, last, 1, 1, 5);
    lblGaps = screens::wrapLabel(Frame1, "lblGaps", QString());
    panel->addWidget(lblGaps, last + 1, 0, 1, 6);
    auto* panelButtons = new QHBoxLayout;
    Command1 = screens::namedButton(Frame1, "Command1", QStringLiteral("Сохранить"));
    Command6 = screens::namedButton(Frame1, "Command6", QStringLiteral("Сохранить как..."));
    Command4 = screens::namedButton(Frame1, "Command4", QStringLiteral("Отмена"));
    panelButtons->addStretch(1);
    panelButtons->addWidget(Command1);
    panelButtons->addWidget(Command6);
    panelButtons->addWidget(Command4);
    panel->addLayout(panelButtons, last + 2, 0, 1, 6);
    for (int c : {0, 2, 4})
        panel->setColumnStretch(c, 1);
    panel->setVerticalSpacing(4);
    layout->addWidget(Frame1);
    setCentralWidget(central);

    mnuSave = addMenuAction(QStringLiteral("mnuSave"), QStringLiteral("Сохранить"), [this] { save(); });
    mnuSave1 = addMenuAction(QStringLiteral("mnuSave1"), QStringLiteral("Сохранить как..."), [this] { saveAs(); });
    mnuCancel = addMenuAction(QStringLiteral("mnuCancel"), QStringLiteral("Отмена"), [this] { cancel(); });
    mnuPred = addMenuAction(QStringLiteral("mnuPred"), QStringLiteral("Вернуться в основное меню"), [this] { back(); });
    mnuExit = addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });

    connect(Command7, &QPushButton::clicked, this, [this] { FillSubstGrid(txtFiltr->text()); });
    connect(Command2, &QPushButton::clicked, this, [this] { newSubstance(); });
    connect(Command5, &QPushButton::clicked, this, [this] { changeSubstance(); });
    connect(Command3, &QPushButton::clicked, this, [this] { deleteSubstance(); });
    connect(Command1, &QPushButton::clicked, this, [this] { save(); });
    connect(Command6, &QPushButton::clicked, this, [this] { saveAs(); });
    connect(Command4, &QPushButton::clicked, this, [this] { cancel(); });
    connect(Tabl_Vva, &QTableWidget::currentCellChanged, this, [this] { rowSelected(); });
    connect(Tabl_Vva, &QTableWidget::cellClicked, this, [this] { rowSelected(); });
    connect(Tabl_Vva, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (row >= 1 && !editing()) {
            Tabl_Vva->setCurrentCell(row, 0);
            changeSubstance();
        }
    });
    connect(Name_Vva, &QLineEdit::textChanged, this, [this] { nameEdited(); });
}

void frmVvo::FillSubstGrid(const QString& filter)
{
    filling_ = true;
    Tabl_Vva->clear();
    Tabl_Vva->setRowCount(2);
    Tabl_Vva->setColumnCount(int(std::size(kColumns)));
    for (int c = 0; c < int(std::size(kColumns)); ++c) {
        Tabl_Vva->setColumnWidth(c, px(kColumns[c].width));
        setCell(Tabl_Vva, 0, c, QString::fromUtf8(kColumns[c].header));
    }
    Tabl_Vva->setRowHeight(0, px(3 * 225) + 6);

    QList<records::SubstanceRecord> all;
    onStore([&] { all = records::substanceRecords(state_.db()); });
    const QIcon mark = screens::missingMark(this);
    int row = 1;
    bool anyMarked = false;
    for (const records::SubstanceRecord& s : all) {
        if (!filter.isEmpty() && !s.Name.contains(filter, Qt::CaseSensitive))
            continue;
        if (row > 1)
            Tabl_Vva->setRowCount(row + 1);
        setCell(Tabl_Vva, row, 0, s.Name);
        setCell(Tabl_Vva, row, 1, kindText(s.Vid_vva));
        setCell(Tabl_Vva, row, 2, s.BruttoFormula);
        for (int c = 3; c < int(std::size(kColumns)); ++c) {
            const auto& value = s.*kColumns[c].field;
            setCell(Tabl_Vva, row, c, value ? calc::numberText(*value) : QString());
            const bool unusable =
                kColumns[c].column
                && (!value || records::unusable(kTable, QString::fromLatin1(kColumns[c].column), value));
            if (unusable)
                screens::markMissingCell(Tabl_Vva->item(row, c));
        }
        const records::MissingProperties missing = records::missingProperties(s);
        if (!missing.always.isEmpty()) {
            Tabl_Vva->item(row, 0)->setIcon(mark);
            anyMarked = true;
        }
        Tabl_Vva->item(row, 0)->setToolTip(records::missingPropertiesNote(missing));
        Tabl_Vva->setRowHeight(row, screens::wrappedRowHeight(s.Name, 33, 225));
        ++row;
    }
    const bool any = row > 1;
    Tabl_Vva->setVisible(any);
    Label2->setVisible(!any);
    lblMissing->setVisible(anyMarked);
    Tabl_Vva->setCurrentCell(-1, -1);
    filling_ = false;
}

QString frmVvo::selectedName() const
{
    const int row = Tabl_Vva->currentRow();
    return row >= 1 ? cellText(Tabl_Vva, row, 0) : QString();
}

bool frmVvo::editing() const
{
    return mode_ != Mode::Browsing;
}

void frmVvo::rowSelected()
{
    if (filling_ || editing())
        return;
    const bool data = !selectedName().isEmpty();
    Command5->setEnabled(data);
    Command3->setEnabled(data);
}

void frmVvo::nameEdited()
{
    const bool named = !Name_Vva->text().trimmed().isEmpty();
    Command1->setEnabled(named);
    mnuSave->setEnabled(named);
}

void frmVvo::showBrowsing()
{
    mode_ = Mode::Browsing;
    Frame1->hide();
    Frame2->setEnabled(true);
    Tabl_Vva->setEnabled(true);
    Command2->setEnabled(true);
    Command1->setEnabled(false);
    Command3->setEnabled(false);
    Command5->setEnabled(false);
    mnuExit->setEnabled(true);
    mnuPred->setEnabled(true);
    mnuSave->setVisible(false);
    mnuSave1->setVisible(false);
    mnuCancel->setVisible(false);
}

void frmVvo::showPanel(Mode mode)
{
    mode_ = mode;
    Frame1->show();
    Frame2->setEnabled(false);
    mnuExit->setEnabled(false);
    mnuPred->setEnabled(false);
    mnuSave->setVisible(true);
    mnuCancel->setVisible(true);
    const bool change = mode == Mode::Change;
    mnuSave1->setVisible(change);
    mnuSave1->setEnabled(change);
    Command6->setVisible(change);
    Command6->setEnabled(change);
    nameEdited();
}

void frmVvo::newSubstance()
{
    remembered_.clear();
    loadedKind_.reset();
    Name_Vva->clear();
    Dop_inf->clear();
    txtBruttoF->clear();
    for (const NumberBox& b : kBoxes)
        showNewNumber(this->*b.box, QStringLiteral("0"));
    cmdGrpog->setCurrentIndex(0);
    lblGaps->hide();
    showPanel(Mode::New);
    Name_Vva->setEnabled(true);
    Name_Vva->setFocus(Qt::OtherFocusReason);
}

void frmVvo::changeSubstance()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    bool used = false;
    std::optional<records::SubstanceRecord> s;
    if (!onStore([&] {
            used = records::substanceInBlocks(state_.db(), state_.current.id, name);
            s = records::findSubstanceRecord(state_.db(), name);
        }))
        return;
    if (!s) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Вещество «%1» больше не найдено в справочнике.").arg(name),
                             ui::Icon::Critical);
        FillSubstGrid(txtFiltr->text());
        return;
    }
    // The name of a substance in a block of the current calculation stays.
    Name_Vva->setEnabled(!used);
    remembered_ = name;
    showRecord(*s);
    showPanel(Mode::Change);
    if (Name_Vva->isEnabled())
        Name_Vva->setFocus(Qt::OtherFocusReason);
}

void frmVvo::showRecord(const records::SubstanceRecord& s)
{
    Name_Vva->setText(s.Name);
    // A kind outside the two of the list shows no item and is kept on saving.
    loadedKind_ = s.Vid_vva;
    const int index = s.Vid_vva ? *s.Vid_vva - 1 : -1;
    cmdGrpog->setCurrentIndex(index >= 0 && index < cmdGrpog->count() ? index : -1);
    txtBruttoF->setText(s.BruttoFormula);
    Dop_inf->setText(s.Dop_info);
    for (const NumberBox& b : kBoxes)
        showStoredNumber(this->*b.box, s.*b.field);
    screens::showMissing(lblGaps, records::missingProperties(s));
}

std::optional<records::SubstanceRecord> frmVvo::readPanel(const QString& notSaved)
{
    records::SubstanceRecord s;
    s.Name = Name_Vva->text().trimmed();
    s.Vid_vva = cmdGrpog->currentIndex() >= 0 ? std::optional<int>(cmdGrpog->currentIndex() + 1) : loadedKind_;
    s.BruttoFormula = txtBruttoF->text().trimmed();
    s.Dop_info = Dop_inf->text().trimmed();
    for (const NumberBox& b : kBoxes) {
        const BoxNumber n = boxNumber(this->*b.box);
        if (!n.valid) {
            refuseBox(this->*b.box, labels_.value(this->*b.box), notSaved);
            return std::nullopt;
        }
        s.*b.field = n.value;
    }
    return s;
}

bool frmVvo::valuesInRange(const QString& notSaved)
{
    for (const NumberBox& b : kBoxes)
        if (!withinRange(this->*b.box, labels_.value(this->*b.box), boxNumber(this->*b.box), kTable,
                         QString::fromLatin1(b.column), notSaved))
            return false;
    return true;
}

bool frmVvo::nameTaken(const QString& name)
{
    bool taken = false;
    if (!onStore([&] { taken = records::findSubstanceRecord(state_.db(), name).has_value(); }))
        return true;
    if (taken)
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Вещество «%1» уже есть в справочнике. Введите другое наименование.")
                                 .arg(name),
                             ui::Icon::Critical);
    return taken;
}

bool frmVvo::confirmSave()
{
    return ui::dialogs().ask(kQuestionTitle,
                             QStringLiteral("Не правильно введенные данные, могут привести к ошибке в расчете! "
                                            "Продолжить сохранение?"),
                             ui::Icon::Question, ui::Buttons::YesNo)
           == ui::Answer::Yes;
}

bool frmVvo::write(const QString& oldName, const records::SubstanceRecord& s)
{
    bool saved = false;
    if (!onStore([&] { saved = records::saveSubstance(state_.db(), oldName, s); }, kNotSaved))
        return false;
    if (!saved) {
        nameTaken(s.Name);
        return false;
    }
    showBrowsing();
    FillSubstGrid(txtFiltr->text());
    return true;
}

bool frmVvo::save()
{
    if (!editing() || !Command1->isEnabled())
        return false;
    const auto s = readPanel(kNotSaved);
    if (!s)
        return false;
    if (s->Name != remembered_ && nameTaken(s->Name)) {
        if (Name_Vva->isEnabled())
            Name_Vva->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (!valuesInRange(kNotSaved) || !confirmSave())
        return false;
    return write(mode_ == Mode::Change ? remembered_ : QString(), *s);
}

bool frmVvo::saveAs()
{
    if (mode_ != Mode::Change)
        return false;
    auto s = readPanel(kNotSaved);
    if (!s || !valuesInRange(kNotSaved))
        return false;
    const auto name = ui::dialogs().askText(QStringLiteral("Сохранить как..."),
                                            QStringLiteral("Наименование нового вещества:"), s->Name);
    if (!name)
        return false;
    s->Name = name->trimmed();
    if (s->Name.isEmpty()) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Не введено наименование вещества. Вещество не сохранено."),
                             ui::Icon::Critical);
        return false;
    }
    if (nameTaken(s->Name) || !confirmSave())
        return false;
    return write(QString(), *s);
}

void frmVvo::cancel()
{
    if (!editing())
        return;
    showBrowsing();
    rowSelected();
}

void frmVvo::deleteSubstance()
{
    const QString name = selectedName();
    if (name.isEmpty() || editing())
        return;
    bool used = false;
    if (!onStore([&] { used = records::substanceInBlocks(state_.db(), state_.current.id, name); }))
        return;
    if (used) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Невозможно удалить! Данное вещество введено в один из блоков!"),
                             ui::Icon::Critical);
        return;
    }
    if (ui::dialogs().ask(kQuestionTitle, QStringLiteral("Удаленные данные будут утеряны! Продолжить?"),
                          ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return;
    if (!onStore([&] { records::deleteSubstance(state_.db(), name); }, QStringLiteral("Вещество не удалено.")))
        return;
    FillSubstGrid(txtFiltr->text());
    Command3->setEnabled(false);
    Command5->setEnabled(false);
}

void frmVvo::back()
{
    leave();
}

}  // namespace veltron::directories
