#include "screens/frmInput.h"

#include "records/blocks.h"
#include "records/directories.h"
#include "records/user_memory.h"
#include "screens/block_grids.h"
#include "screens/frmBlok.h"
#include "screens/frmSave.h"
#include "screens/frmSetup.h"
#include "screens/input_dialogs.h"
#include "screens/report_folder_dialog.h"
#include "screens/run_request.h"
#include "screens/store_errors.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "calc/number_text.h"
#include "ui/numeric_edit.h"
#include "ui/wrap_button.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltron::screens {

namespace {

const QString kQuestionTitle = QStringLiteral("В н и м а н и е ! ! !");

using ui::NumericEdit;

NumericEdit* numeric(QWidget* parent, const char* name, NumericEdit::Flags flags, const QString& text)
{
    auto* e = new NumericEdit(flags, parent);
    e->setObjectName(QLatin1String(name));
    e->setText(text);
    e->setFixedWidth(96);
    return e;
}

// A field that is shown but cannot be edited: greyed and deaf to keys.
NumericEdit* shown(QWidget* parent, const char* name, const QString& text)
{
    auto* e = numeric(parent, name, NumericEdit::Unchecked, text);
    e->setEnabled(false);
    return e;
}

QLabel* bold(QWidget* parent, const char* name, const QString& text)
{
    auto* l = wrapLabel(parent, name, text);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

// The sketch of the drift-cloud frame: wind from the left over the spill,
// the cloud stretched downwind and the distance L 0,5 НКПР on its windward side.
class WindSketch : public QWidget {
public:
    explicit WindSketch(QWidget* parent) : QWidget(parent) { setFixedSize(220, 70); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter g(this);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(palette().color(QPalette::WindowText), 1.5));
        for (int y : {18, 30, 42}) {
            g.drawLine(6, y, 46, y);
            g.drawLine(46, y, 40, y - 4);
            g.drawLine(46, y, 40, y + 4);
        }
        g.setBrush(QColor(0xcc, 0xdd, 0xf5));
        g.drawEllipse(QRect(70, 10, 140, 40));
        g.setBrush(QColor(0x8a, 0xa4, 0xc8));
        g.drawEllipse(QRect(84, 44, 36, 10));
        g.setBrush(Qt::NoBrush);
        g.drawLine(70, 62, 102, 62);
        QFont f = font();
        f.setPointSizeF(f.pointSizeF() * 0.8);
        g.setFont(f);
        g.drawText(QRect(104, 54, 110, 16), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("L 0,5 НКПР"));
    }
};

}  // namespace

frmInput::frmInput(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmInput"), QStringLiteral("Ввод/редактирование информации об АРБ и условиях расчета"),
                 parent),
      state_(state)
{
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* central = new QWidget(scroll);
    auto* layout = new QVBoxLayout(central);
    layout->setSpacing(4);
    layout->setContentsMargins(8, 4, 8, 4);

    auto* heading = new QHBoxLayout;
    Label7 = bold(central, "Label7", QStringLiteral("Наименование расчета:"));
    Label7->setWordWrap(false);
    Label18 = bold(central, "Label18", QString());
    heading->addWidget(Label7);
    heading->addWidget(Label18, 1);
    layout->addLayout(heading);

    buildBlockArea(central, layout);
    buildConditions(central, layout);
    layout->addStretch();
    scroll->setWidget(central);
    // "Расчет" stands under the scrolled page, always in view.
    auto* page = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(scroll, 1);
    auto* runRow = new QHBoxLayout;
    runRow->setContentsMargins(8, 4, 8, 6);
    runRow->addStretch();
    Command3->setParent(page);
    Command3->setMinimumWidth(220);
    runRow->addWidget(Command3);
    pageLayout->addLayout(runRow);
    setCentralWidget(page);
    buildMenus();
    // Room for a title bar and a desktop panel on a 1366 × 768 display.
    resize(1340, 690);
    open();
}

void frmInput::buildBlockArea(QWidget* parent, QVBoxLayout* layout)
{
    const auto buttonColumn = [&](QHBoxLayout* row, std::initializer_list<QPushButton*> buttons) {
        auto* col = new QVBoxLayout;
        for (QPushButton* b : buttons)
            col->addWidget(b);
        col->addStretch();
        row->addLayout(col);
    };
    const auto button = [&](const char* name, const QString& text) {
        auto* b = new QPushButton(text, parent);
        b->setObjectName(QLatin1String(name));
        b->setMinimumWidth(150);
        return b;
    };

    Label3 = bold(parent, "Label3", QStringLiteral("Информация о рассчитываемом блоке"));
    layout->addWidget(Label3);
    auto* mainRow = new QHBoxLayout;
    auto* mainGridBox = new QVBoxLayout;
    tabBlok = makeGrid(parent, "tabBlok");
    Label4 = wrapLabel(parent, "Label4", QStringLiteral("Нет данных о блоке"));
    mainGridBox->addWidget(tabBlok);
    mainGridBox->addWidget(Label4);
    mainRow->addLayout(mainGridBox, 1);
    Command5 = button("Command5", QStringLiteral("Новый"));
    Command6 = button("Command6", QStringLiteral("Изменить/ Просмотреть"));
    Command7 = button("Command7", QStringLiteral(" Удалить"));
    buttonColumn(mainRow, {Command5, Command6, Command7});
    layout->addLayout(mainRow);

    Label11 = bold(parent, "Label11", QStringLiteral("Информация о смежных блоках"));
    layout->addWidget(Label11);
    auto* adjRow = new QHBoxLayout;
    auto* adjGridBox = new QVBoxLayout;
    tabBlok_smeg = makeGrid(parent, "tabBlok_smeg");
    Label13 = wrapLabel(parent, "Label13", QStringLiteral("Нет введенных смежных блоков"));
    adjGridBox->addWidget(tabBlok_smeg);
    adjGridBox->addWidget(Label13);
    adjRow->addLayout(adjGridBox, 1);
    Command15 = button("Command15", QStringLiteral("Новый"));
    Command14 = button("Command14", QStringLiteral("Изменить/ Просмотреть"));
    Command13 = button("Command13", QStringLiteral(" Удалить"));
    buttonColumn(adjRow, {Command15, Command14, Command13});
    layout->addLayout(adjRow);

    Frame1 = new QGroupBox(parent);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* legend = new QGridLayout(Frame1);
    legend->setContentsMargins(6, 2, 6, 2);
    legend->setVerticalSpacing(0);
    QFont legendFont = Frame1->font();
    legendFont.setPointSizeF(legendFont.pointSizeF() * 0.85);
    Frame1->setFont(legendFont);
    const QString legendTexts[] = {
        QStringLiteral("I - Площадь сечения, через которое возможно истечение ПГФ или ЖФ при АРБ, кв.м"),
        QStringLiteral("II - Скорость теплопритока к ГФ за счет суммарного теплового эффекта экзотермической реакции, "
                       "кДж/с"),
        QStringLiteral("III - Скорость теплопритока к ЖФ от внешних теплоносителей, кДж/с"),
        QStringLiteral("IV - Безразмерный коэффициент, учитывающий гидродинамику процесса"),
        QStringLiteral("V - Время с момента АРБ до полного срабатывания отключающей аварийный блок арматуры, с"),
        QStringLiteral("VI - Время с момента АРБ до полного прекращения экзотермических процессов, с"),
        QStringLiteral("VII - Время с момента АРБ до полного прекращения подачи теплоносителя к аварийному блоку "
                       "(прекращение теплообменного процесса), с"),
    };
    for (int i = 0; i < 7; ++i) {
        auto* l = wrapLabel(Frame1, QStringLiteral("Label%1").arg(30 + i).toLatin1().constData(), legendTexts[i]);
        legend->addWidget(l, i % 4, i / 4);
    }
    layout->addWidget(Frame1);

    Label19 = wrapLabel(parent, "Label19",
                        QStringLiteral("Жидкая фаза в расчете принята равной нулю, следовательно испарение с поверхности "
                                       "аварийного пролива отсутствует"));
    Label19->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    Label19->hide();
    layout->addWidget(Label19);

    connect(Command5, &QPushButton::clicked, this, [this] { newMainBlock(); });
    connect(Command6, &QPushButton::clicked, this, [this] { editMainBlock(); });
    connect(Command7, &QPushButton::clicked, this, [this] { deleteMainBlock(); });
    connect(Command15, &QPushButton::clicked, this, [this] { newAdjacentBlock(); });
    connect(Command14, &QPushButton::clicked, this, [this] { editAdjacentBlock(); });
    connect(Command13, &QPushButton::clicked, this, [this] { deleteAdjacentBlock(); });
    connect(tabBlok, &QTableWidget::cellClicked, this, [this](int row, int) {
        Command6->setEnabled(row > 0);
        Command7->setEnabled(row > 0);
    });
    connect(tabBlok, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row > 0)
            editMainBlock();
    });
    connect(tabBlok_smeg, &QTableWidget::cellClicked, this, [this](int row, int) {
        Command13->setEnabled(row > 0);
        Command14->setEnabled(row > 0);
    });
    connect(tabBlok_smeg, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        if (row > 0)
            editAdjacentBlock();
    });
}

void frmInput::buildConditions(QWidget* parent, QVBoxLayout* layout)
{
    Label11b = bold(parent, "Label11b", QStringLiteral("Информация, необходимая для расчета:"));
    layout->addWidget(Label11b);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);

    Frame17 = new QGroupBox(parent);
    Frame17->setObjectName(QStringLiteral("Frame17"));
    auto* frame = new QHBoxLayout(Frame17);
    auto* left = new QGridLayout;
    auto* right = new QGridLayout;
    left->setColumnStretch(0, 1);
    right->setColumnStretch(0, 1);
    frame->addLayout(left, 1);
    frame->addSpacing(12);
    frame->addLayout(right, 1);
    row->addWidget(Frame17, 3);

    const auto line = [](QGridLayout* grid, QLabel* label, QWidget* field) {
        const int r = grid->rowCount();
        label->setBuddy(field);  // names the field in messages
        grid->addWidget(label, r, 0);
        grid->addWidget(field, r, 1, Qt::AlignTop);
    };

    Command1 = new ui::WrapButton(QStringLiteral("Вид подстилающей поверхности"), Frame17);
    Command1->setObjectName(QStringLiteral("Command1"));
    Combo4 = new QComboBox(Frame17);
    Combo4->setObjectName(QStringLiteral("Combo4"));
    Combo4->setMinimumWidth(180);
    left->addWidget(Command1, 0, 0);
    left->addWidget(Combo4, 0, 1);
    Koef_teplopr = shown(Frame17, "Koef_teplopr", QStringLiteral("0"));
    Label12 = wrapLabel(Frame17, "Label12", QStringLiteral("Коэффициент теплопр. Вт/(м·К)"));
    line(left, Label12, Koef_teplopr);
    c = shown(Frame17, "c", QStringLiteral("0"));
    Label8 = wrapLabel(Frame17, "Label8", QStringLiteral("Уд. теплоем. кДж/(кг·К)"));
    line(left, Label8, c);
    p = shown(Frame17, "p", QStringLiteral("0"));
    Label9 = wrapLabel(Frame17, "Label9", QStringLiteral("Плотность, кг/куб.м"));
    line(left, Label9, p);
    t_kontakt = numeric(Frame17, "t_kontakt", NumericEdit::Converting, QStringLiteral("0"));
    Label10 = wrapLabel(Frame17, "Label10",
                        QStringLiteral("Время контакта жидкости с поверхностью пролива, принимаемое в расчет, с"));
    line(left, Label10, t_kontakt);
    S_kontakt = numeric(Frame17, "S_kontakt", NumericEdit::Converting, QStringLiteral("0"));
    Label44 = wrapLabel(Frame17, "Label44",
                        QStringLiteral("Площадь контакта жидкости с твердой поверхностью пролива, кв.м"));
    line(left, Label44, S_kontakt);
    S_G = numeric(Frame17, "S_G", NumericEdit::Converting, QStringLiteral("0"));
    Label22 = wrapLabel(Frame17, "Label22", QStringLiteral("Площадь поверхности зеркала жидкости, кв.м"));
    line(left, Label22, S_G);
    Check1 = new QCheckBox(Frame17);
    Check1->setObjectName(QStringLiteral("Check1"));
    left->addLayout(checkRow(Check1,
                             QStringLiteral("использовать значение площади поверхности зеркала жидкости для проведения "
                                            "экспертных оценок по ПБ 09-540-03 формула 13.1"),
                             Frame17),
                    left->rowCount(), 0, 1, 2);
    left->setRowStretch(left->rowCount(), 1);

    const auto signedConverting = NumericEdit::Flags(NumericEdit::Signed | NumericEdit::Converting);
    Tempv = numeric(Frame17, "Tempv", signedConverting, QStringLiteral("20"));
    LTempv = wrapLabel(Frame17, "LTempv", records::airTemperatureCaption(true));
    line(right, LTempv, Tempv);
    Tempp = numeric(Frame17, "Tempp", signedConverting, QStringLiteral("20"));
    LTempp = wrapLabel(Frame17, "LTempp",
                       QStringLiteral("Температура твердой поверхности (пола, поддона, грунта и т.п.), °C"));
    line(right, LTempp, Tempp);
    txtTg = numeric(Frame17, "txtTg", NumericEdit::Unchecked, QStringLiteral("20"));
    Label21 = wrapLabel(Frame17, "Label21", QStringLiteral("Температура жидкости в проливе, °C"));
    line(right, Label21, txtTg);

    Frame6 = new QGroupBox(QStringLiteral("Ручной ввод давления насыщенных паров, кПа"), Frame17);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    auto* pressure = new QGridLayout(Frame6);
    pressure->setColumnStretch(0, 1);
    Check3 = new QCheckBox(Frame6);
    Check3->setObjectName(QStringLiteral("Check3"));
    txtPn = numeric(Frame6, "txtPn", NumericEdit::Converting, QStringLiteral("0"));
    pressure->addLayout(checkRow(Check3, QStringLiteral("при реглам. температуре в блоке на момент АРБ: T, t (Ф-4.5)"),
                                 Frame6),
                        0, 0);
    pressure->addWidget(txtPn, 0, 1, Qt::AlignTop);
    txtPn->setAccessibleName(Frame6->title() + QStringLiteral(" (") + Check3->accessibleName() + QLatin1Char(')'));
    Check4 = new QCheckBox(Frame6);
    Check4->setObjectName(QStringLiteral("Check4"));
    txtPn1 = numeric(Frame6, "txtPn1", NumericEdit::Unchecked, QStringLiteral("0"));
    pressure->addLayout(
        checkRow(Check4, QStringLiteral("при макс. из температур (воздуха и жидкости в проливе): Тр (Ф-14.1)"), Frame6),
        1, 0);
    pressure->addWidget(txtPn1, 1, 1, Qt::AlignTop);
    txtPn1->setAccessibleName(Frame6->title() + QStringLiteral(" (") + Check4->accessibleName() + QLatin1Char(')'));
    pressure->setColumnMinimumWidth(1, 96);
    right->addWidget(Frame6, right->rowCount(), 0, 1, 2);

    right->setRowStretch(right->rowCount(), 1);

    auto* coefficients = new QVBoxLayout;
    row->addLayout(coefficients, 1);
    Frame4 = new QGroupBox(parent);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    auto* space = new QVBoxLayout(Frame4);
    Option3 = new QRadioButton(QStringLiteral("вне помещения"), Frame4);
    Option3->setObjectName(QStringLiteral("Option3"));
    Option4 = new QRadioButton(QStringLiteral("в помещении"), Frame4);
    Option4->setObjectName(QStringLiteral("Option4"));
    space->addWidget(Option3);
    space->addWidget(Option4);
    coefficients->addWidget(Frame4);
    Command4 = new ui::WrapButton(QStringLiteral("Коэффициент интенсивности испарения"), parent);
    Command4->setObjectName(QStringLiteral("Command4"));
    txtNyu = numeric(parent, "txtNyu", NumericEdit::Unchecked, QStringLiteral("1"));
    txtNyu->setAccessibleName(Command4->text());
    auto* nyuRow = new QHBoxLayout;
    nyuRow->addWidget(Command4, 1);
    nyuRow->addWidget(txtNyu, 0, Qt::AlignVCenter);
    coefficients->addLayout(nyuRow);
    Command2 = new ui::WrapButton(
        QStringLiteral("Доля приведенной массы парогазовых веществ, участвующих во взрыве, z="), parent);
    Command2->setObjectName(QStringLiteral("Command2"));
    Zet = shown(parent, "Zet", QStringLiteral("0,1"));
    Zet->setAccessibleName(QStringLiteral("z"));
    auto* zRow = new QHBoxLayout;
    zRow->addWidget(Command2, 1);
    zRow->addWidget(Zet, 0, Qt::AlignVCenter);
    coefficients->addLayout(zRow);
    Check2 = new QCheckBox(parent);
    Check2->setObjectName(QStringLiteral("Check2"));
    coefficients->addLayout(checkRow(Check2,
                                     QStringLiteral("Определение времени испарения при проливе вне помещения с учетом "
                                                    "дрейфа облака ПГФ, формула 15"),
                                     parent));
    Frame5 = new QGroupBox(parent);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    auto* drift = new QGridLayout(Frame5);
    drift->setColumnStretch(0, 1);
    txtLnkpr = numeric(Frame5, "txtLnkpr", NumericEdit::Unchecked, QStringLiteral("20"));
    Label24 = wrapLabel(Frame5, "Label24",
                        QStringLiteral("L 0,5 НКПР-расстояние с концентрациями 0.5НКПР в облаке ПГФ с надветренной "
                                       "стороны"));
    line(drift, Label24, txtLnkpr);
    txtUv = numeric(Frame5, "txtUv", NumericEdit::Unchecked, QStringLiteral("1"));
    Label20 = wrapLabel(Frame5, "Label20", QStringLiteral("скорость воздушного потока над зеркалом испарения, м/с"));
    line(drift, Label20, txtUv);
    Image1 = new WindSketch(Frame5);
    Image1->setObjectName(QStringLiteral("Image1"));
    Label23 = wrapLabel(Frame5, "Label23", QStringLiteral("надветренная сторона слева"));
    const int r = drift->rowCount();
    drift->addWidget(Image1, r, 0, 1, 2, Qt::AlignLeft);
    drift->addWidget(Label23, r + 1, 0, 1, 2);
    coefficients->addWidget(Frame5);

    coefficients->addStretch();
    Command3 = new QPushButton(QStringLiteral("Расчет"), parent);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setMinimumHeight(40);
    QFont f = Command3->font();
    f.setBold(true);
    Command3->setFont(f);

    Frame5->hide();
    txtPn->hide();
    txtPn1->hide();

    connect(Combo4, &QComboBox::currentIndexChanged, this, [this] { surfaceSelected(); });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            applySpaceType(!loading_);
    });
    connect(Option4, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            applySpaceType(!loading_);
    });
    connect(Check3, &QCheckBox::toggled, this, [this] { applyChecks(); });
    connect(Check4, &QCheckBox::toggled, this, [this] { applyChecks(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { applyChecks(); });
    connect(Tempv, &NumericEdit::validLeft, this, [this] {
        Tempp->setText(Tempv->text());
        txtTg->setText(Tempv->text());
    });
    connect(t_kontakt, &NumericEdit::validLeft, this, [this](double v) {
        if (v > 3600) {
            ui::dialogs().inform(QStringLiteral("Ввод данных"),
                                 QStringLiteral("Время контакта жидкости с поверхностью пролива ограничивается 3600 с!"),
                                 ui::Icon::Warning);
            t_kontakt->setText(QStringLiteral("3600"));
        }
    });
    connect(Command3, &QPushButton::clicked, this, [this] { requestRun(); });
    connect(Command1, &QPushButton::clicked, this, [this] { openSurfaces(); });
    connect(Command4, &QPushButton::clicked, this, [this] { openNyu(); });
    connect(Command2, &QPushButton::clicked, this, [this] { openZ(); });
}

void frmInput::buildMenus()
{
    mnuReturn = addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    QMenu* base = addMenu(QStringLiteral("mnuBD"), QStringLiteral("База данных"));
    mnuSave = addMenuItem(base, QStringLiteral("mnuSave"), QStringLiteral("Сохранить исходные данные"), [this] { save(); });
    mnuPerem = addMenuItem(base, QStringLiteral("mnuPerem"), QStringLiteral("Переименовать"), [this] { rename(); });
    mnuSaveAs = addMenuItem(base, QStringLiteral("mnuSaveAs"), QStringLiteral("Сохранить исходные данные как..."),
                            [this] { saveAs(); });
    mnuDelete = addMenuItem(base, QStringLiteral("mnuDelete"), QStringLiteral("Удалить расчет из БД"),
                            [this] { deleteCalculation(); });
    base->addSeparator();
    mnuVva = addMenuItem(base, QStringLiteral("mnuVva"), QStringLiteral("Веществ"), [this] { openSubstances(); });
    mnuPoverhn = addMenuItem(base, QStringLiteral("mnuPoverhn"), QStringLiteral("Подстилающей поверхности"),
                             [this] { openSurfaces(); });
    mnuSetup = addMenuAction(QStringLiteral("mnuSetup"), QStringLiteral("Настройки"), [this] { openSetup(); });
    mnuRaschet = addMenuAction(QStringLiteral("mnuRaschet"), QStringLiteral("Расчет"), [this] { requestRun(); });
    mnuReports = addMenuAction(QStringLiteral("mnuReports"), QStringLiteral("Папка для сохранения отчета"),
                               [this] { openReports(); });
    mnuExit = addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });
}

void frmInput::open()
{
    state_.settingsConfirmed = false;
    onStore([this] {
        records::recordOpening(state_.db(), state_.current.id);
        records::UserMemory(state_.db(), state_.userSettingsFile).rememberCalculation(state_.current.id);
        showInputs(records::loadCalculationInputs(state_.db(), state_.current));
    });
    stored_ = shownConditions();
    showCalculationName();
}

void frmInput::showCalculationName()
{
    Label18->setText(state_.current.name);
}

void frmInput::fillBlockGrids()
{
    onStore([this] { blocks_ = records::blocksOf(state_.db(), state_.current.id); });
    showBlocks();
}

void frmInput::showBlocks()
{
    const BlockArea area = fillGrids(tabBlok, tabBlok_smeg, blocks_);
    if (area.liquidNotice)
        setLiquidNotice(*area.liquidNotice);
    tabBlok->setVisible(area.hasMain);
    Label4->setVisible(!area.hasMain);
    setRunEnabled(area.hasMain);
    Command5->setEnabled(!area.hasMain);
    Command6->setEnabled(false);
    Command7->setEnabled(false);
    tabBlok_smeg->setVisible(area.hasAdjacent);
    Frame1->setVisible(area.hasAdjacent);
    Label13->setVisible(!area.hasAdjacent);
    Command13->setEnabled(false);
    Command14->setEnabled(false);
}

void frmInput::setLiquidNotice(bool shown)
{
    Label19->setVisible(shown);
    if (!shown)
        Frame17->setEnabled(true);
}

void frmInput::setRunEnabled(bool enabled)
{
    Command3->setEnabled(enabled);
    mnuRaschet->setEnabled(enabled);
}

void frmInput::refillSurfaces()
{
    const QStringList names = records::surfaceNames(state_.db());
    {
        const QSignalBlocker block(Combo4);
        Combo4->clear();
        Combo4->addItems(names);
        Combo4->setCurrentIndex(-1);
    }
    Combo4->setCurrentIndex(names.isEmpty() ? -1 : 0);
    if (names.isEmpty())
        surfaceSelected();
}

void frmInput::surfaceSelected()
{
    std::optional<records::Surface> surface;
    onStore([&] { surface = records::findSurface(state_.db(), Combo4->currentText()); });
    Koef_teplopr->setText(calc::numberText(surface ? surface->lyambda : 0));
    c->setText(calc::numberText(surface ? surface->c : 0));
    p->setText(calc::numberText(surface ? surface->p : 0));
}

void frmInput::showInputs(const records::CalculationInputs& in)
{
    blocks_.clear();
    if (in.main)
        blocks_ << *in.main;
    blocks_ << in.adjacent;
    showBlocks();

    refillSurfaces();
    const records::ConditionTexts& t = in.conditions;
    loading_ = true;
    t_kontakt->setText(t.t_kontakt);
    // A surface that is no longer in the directory stays the calculation's
    // surface instead of being silently replaced by the first one.
    if (Combo4->findText(t.Name_poverhn) < 0 && !t.Name_poverhn.isEmpty())
        Combo4->addItem(t.Name_poverhn);
    Combo4->setCurrentIndex(Combo4->findText(t.Name_poverhn));
    Koef_teplopr->setText(t.Koef_teplopr);
    c->setText(t.c);
    p->setText(t.p);
    S_kontakt->setText(t.S_kontakt);
    S_G->setText(t.S_G);
    Tempv->setText(t.Tempv);
    Tempp->setText(t.Tempp);
    txtTg->setText(t.txtTg);
    txtNyu->setText(t.txtNyu);
    Check1->setChecked(t.Check1);
    Zet->setText(t.Zet);
    Check3->setChecked(t.Check3);
    txtPn->setText(t.txtPn);
    Check4->setChecked(t.Check4);
    txtPn1->setText(t.txtPn1);
    Check2->setChecked(t.Check2);
    txtLnkpr->setText(t.txtLnkpr);
    txtUv->setText(t.txtUv);
    (t.Option3 ? Option3 : Option4)->setChecked(true);
    // The stored η is what the opening shows; the space type's own value
    // replaces it only when the user changes the space type.
    applySpaceType(false);
    txtNyu->setText(t.txtNyu);
    loading_ = false;
    applyChecks();
    // Opening takes every stored setting but the pressure formula, which
    // only the run settings dialog sets.
    const int pressureFormula = state_.runSettings.Pn;
    state_.runSettings = in.settings;
    state_.runSettings.Pn = pressureFormula;
}

records::CalculationInputs frmInput::inputs() const
{
    records::CalculationInputs in;
    in.calculation = state_.current;
    records::ConditionTexts& t = in.conditions;
    t.Name_poverhn = Combo4->currentText();
    t.Koef_teplopr = Koef_teplopr->text();
    t.c = c->text();
    t.p = p->text();
    t.t_kontakt = t_kontakt->text();
    t.S_kontakt = S_kontakt->text();
    t.S_G = S_G->text();
    t.Check1 = Check1->isChecked();
    t.Tempv = Tempv->text();
    t.Tempp = Tempp->text();
    t.txtTg = txtTg->text();
    t.Option3 = Option3->isChecked();
    t.txtNyu = txtNyu->text();
    t.Zet = Zet->text();
    t.Check3 = Check3->isChecked();
    t.txtPn = txtPn->text();
    t.Check4 = Check4->isChecked();
    t.txtPn1 = txtPn1->text();
    t.Check2 = Check2->isChecked();
    t.txtLnkpr = txtLnkpr->text();
    t.txtUv = txtUv->text();
    in.settings = state_.runSettings;
    for (const records::Block& b : blocks_) {
        if (!b.isMain())
            in.adjacent << b;
        else if (!in.main)
            in.main = b;
    }
    return in;
}

void frmInput::focusField(records::ConditionField field)
{
    using F = records::ConditionField;
    const std::pair<F, NumericEdit*> fields[] = {
        {F::Zet, Zet},     {F::S_G, S_G},       {F::S_kontakt, S_kontakt},       {F::t_kontakt, t_kontakt},
        {F::Tempv, Tempv}, {F::txtTg, txtTg},   {F::Tempp, Tempp},               {F::c, c},
        {F::p, p},         {F::txtNyu, txtNyu}, {F::Koef_teplopr, Koef_teplopr}, {F::txtUv, txtUv},
        {F::txtLnkpr, txtLnkpr}, {F::txtPn, txtPn}, {F::txtPn1, txtPn1},
    };
    for (const auto& [f, edit] : fields)
        if (f == field)
            edit->setFocus(Qt::OtherFocusReason);
}

void frmInput::setZet(const QString& zet)
{
    Zet->setText(zet);
}

void frmInput::setAirTemperatureAndNyu(const QString& tempv, const QString& nyu)
{
    Tempv->setText(tempv);
    txtNyu->setText(nyu);
}

void frmInput::applySpaceType(bool setNyu)
{
    const bool outdoors = Option3->isChecked();
    LTempv->setText(records::airTemperatureCaption(outdoors));
    Command4->setEnabled(true);
    txtNyu->setEnabled(outdoors);
    if (setNyu)
        txtNyu->setText(outdoors ? QStringLiteral("5,6") : QStringLiteral("1,0"));
}

void frmInput::applyChecks()
{
    txtPn->setVisible(Check3->isChecked());
    txtPn1->setVisible(Check4->isChecked());
    Frame5->setVisible(Check2->isChecked());
    Image1->setVisible(Check2->isChecked());
    Label23->setVisible(Check2->isChecked());
}

std::optional<records::Conditions> frmInput::shownConditions(NumericEdit** notANumber) const
{
    const records::ConditionTexts t = inputs().conditions;
    records::Conditions k;
    struct Field {
        const QString& text;
        NumericEdit* edit;
        double* target;
        bool used;
    };
    const Field fields[] = {
        {t.t_kontakt, t_kontakt, &k.t_kontakt, true},
        {t.S_kontakt, S_kontakt, &k.S_kontakt, true},
        {t.S_G, S_G, &k.S_G, true},
        {t.Tempv, Tempv, &k.Tempv, true},
        {t.Tempp, Tempp, &k.Tempp, true},
        {t.txtTg, txtTg, &k.Tg, true},
        {t.txtNyu, txtNyu, &k.nyu, true},
        {t.Zet, Zet, &k.z, true},
        {t.txtPn, txtPn, &k.znPn, t.Check3},
        {t.txtPn1, txtPn1, &k.znPn1, t.Check4},
        {t.txtLnkpr, txtLnkpr, &k.znLnkpr, t.Check2},
        {t.txtUv, txtUv, &k.Uv, t.Check2},
    };
    for (const Field& f : fields) {
        if (!f.used) {
            *f.target = 0;
            continue;
        }
        const auto value = calc::parseNumber(f.text);
        if (!value) {
            if (notANumber)
                *notANumber = f.edit;
            return std::nullopt;
        }
        *f.target = *value;
    }
    k.Name_poverhn = t.Name_poverhn;
    k.f131 = t.Check1 ? 1 : 0;
    k.Lnkpr = t.Check2 ? 1 : 0;
    k.opNyu = t.Option3 ? 0 : 1;
    return k;
}

std::optional<records::Conditions> frmInput::readConditions()
{
    NumericEdit* bad = nullptr;
    const auto k = shownConditions(&bad);
    if (!k) {
        ui::dialogs().inform(QStringLiteral("Ввод данных"),
                             QStringLiteral("Проверьте правильность ввода: в поле «%1» не число («%2»). "
                                            "Исходные данные не сохранены.")
                                 .arg(ui::fieldCaption(bad), bad->text()),
                             ui::Icon::Warning);
        if (bad->isVisibleTo(this) && bad->isEnabled())
            bad->setFocus();
    }
    return k;
}

bool frmInput::hasUnsavedChanges() const
{
    return shownConditions() != stored_;
}

bool frmInput::save()
{
    const auto k = readConditions();
    if (!k)
        return false;
    if (!onStore([&] { records::saveConditions(state_.db(), state_.current.id, *k); }))
        return false;
    stored_ = k;
    announceSaved(QStringLiteral("Расчет сохранен"));
    return true;
}

void frmInput::saveAs()
{
    if (ui::dialogs().ask(kQuestionTitle,
                          QStringLiteral("Не сохраненные данные для загруженного расчета будут утеряны! Продолжить "
                                         "сохранение?"),
                          ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return;
    hide();
    (new frmSave(state_, frmSave::Mode::SaveAs, this))->show();
}

void frmInput::rename()
{
    hide();
    (new frmSave(state_, frmSave::Mode::Rename, this))->show();
}

bool frmInput::deleteCalculation()
{
    int stored = 0;
    if (!onStore([&] { stored = records::countCalculations(state_.db()); }))
        return false;
    if (stored < 2) {
        ui::dialogs().inform(kQuestionTitle,
                             QStringLiteral("Невозможно удалить последний расчет! Создайте сначала новый!"),
                             ui::Icon::Critical);
        return false;
    }
    if (ui::dialogs().ask(kQuestionTitle, QStringLiteral("Удаленные данные будут утеряны! Продолжить?"),
                          ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return false;
    if (!onStore([&] { records::deleteCalculation(state_.db(), state_.current.id); }))
        return false;
    ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
    return true;
}

void frmInput::back()
{
    if (mayLeave())
        ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
}

void frmInput::requestRun()
{
    // The run request of model I: the save question, the run settings
    // dialog, the run and the results screen.
    if (!runRequest_)
        runRequest_ = new RunRequest(state_, *this);
    runRequest_->request();
}

void frmInput::openNyu()
{
    openNyuCalculator(state_, *this);
}

void frmInput::openZ()
{
    openZDialog(state_, *this);
}

void frmInput::openSetup()
{
    hide();
    (new frmSetup(state_, this))->show();
}

void frmInput::openReports()
{
    openReportFolder(state_, this);
}

void frmInput::openSubstances()
{
    ui::openFrom(this, QStringLiteral("frmVvo"));
}

void frmInput::openSurfaces()
{
    const QString chosen = Combo4->currentText();
    ui::openDirectory(this, QStringLiteral("frmBD_Type"),
                      [this, chosen](const ui::Renames& renames) { surfacesChanged(chosen, renames); });
}

void frmInput::surfacesChanged(const QString& chosen, const ui::Renames& renames)
{
    onStore([this] { refillSurfaces(); });
    ui::keepChoice(Combo4, chosen, renames);
}

void frmInput::newMainBlock()
{
    openBlockEditor(false, false, 1);
}

void frmInput::editMainBlock()
{
    openBlockEditor(false, true, 1);
}

void frmInput::newAdjacentBlock()
{
    int number = 2;
    if (!onStore([&] { number = records::nextAdjacentNumber(state_.db(), state_.current.id); }))
        return;
    openBlockEditor(true, false, number);
}

void frmInput::editAdjacentBlock()
{
    if (const int id = selectedAdjacent())
        openBlockEditor(true, true, id);
}

int frmInput::selectedAdjacent() const
{
    const int row = tabBlok_smeg->currentRow();
    if (row < 1)
        return 0;
    return cellText(tabBlok_smeg, row, 0).toInt();
}

void frmInput::openBlockEditor(bool adjacent, bool existing, int number)
{
    hide();
    auto* editor = new frmBlok(state_, this, adjacent, existing, number);
    editor->show();
}

void frmInput::deleteMainBlock()
{
    if (ui::dialogs().ask(kQuestionTitle, QStringLiteral("Удаленные данные будут утеряны! Продолжить?"),
                          ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return;
    if (onStore([this] { records::deleteBlock(state_.db(), state_.current.id, 1); }))
        fillBlockGrids();
}

void frmInput::deleteAdjacentBlock()
{
    const int id = selectedAdjacent();
    if (!id)
        return;
    if (ui::dialogs().ask(kQuestionTitle, QStringLiteral("Удаленные данные будут утеряны! Продолжить?"),
                          ui::Icon::Question, ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return;
    if (onStore([&] { records::deleteAdjacentBlock(state_.db(), state_.current.id, id); }))
        fillBlockGrids();
}

}  // namespace veltron::screens
