#include "screens/frmDolya_z.h"

#include "calc/number_text.h"
#include "records/directories.h"
#include "screens/store_errors.h"
#include "screens/form_widgets.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltron::screens {

namespace {

const QString kOutdoorZ = QStringLiteral("0,1");
const QString kLowestZ = QStringLiteral("0,02");

}  // namespace

frmDolya_z::frmDolya_z(AppState& state, bool outdoors, QWidget* returnTo, Accept accept, QWidget* parent)
    : ui::ReturningScreen(QStringLiteral("frmDolya_z"),
                          QStringLiteral("Доля приведенной массы парогазовых веществ, участвующих во взрыве|"
                                         "Программа \"Вельтрон\""),
                          returnTo, parent),
      state_(state),
      outdoors_(outdoors),
      accept_(std::move(accept))
{
    addMenuAction(QStringLiteral("mnuPred"), QStringLiteral("<<Назад с сохранением"), [this] { saveAndReturn(); });
    addMenuAction(QStringLiteral("mnuCancel"), QStringLiteral("Отмена"), [this] { cancel(); });

    auto* central = new QWidget(this);
    lbl1 = wrapLabel(central, "lbl1", QStringLiteral("Доля приведенной массы парогазовых веществ, участвующих во взрыве"));
    QFont big = lbl1->font();
    big.setBold(true);
    lbl1->setFont(big);
    Label1 = new QLabel(QStringLiteral(" z="), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Zet = new ui::NumericEdit(ui::NumericEdit::Converting, central);
    Zet->setAccessibleName(QStringLiteral("z"));
    Zet->setObjectName(QStringLiteral("Zet"));
    Zet->setMaximumWidth(120);
    connect(Zet, &ui::NumericEdit::validLeft, this, [this](double z) {
        if (z < 0.02) {
            ui::dialogs().inform(QStringLiteral("Внимание!"),
                                 QStringLiteral("доля участия вещества во взрыве не может быть снижена ниже 0,02"),
                                 ui::Icon::Warning);
            Zet->setText(kLowestZ);
        }
    });

    Option3 = new QRadioButton(central);
    Option3->setObjectName(QStringLiteral("Option3"));
    Option4 = new QRadioButton(central);
    Option4->setObjectName(QStringLiteral("Option4"));
    connect(Option3, &QRadioButton::clicked, this, [this] { applySpaceRule(); });
    connect(Option4, &QRadioButton::clicked, this, [this] { applySpaceRule(); });

    Combo1 = new QComboBox(central);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setMinimumWidth(420);
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(Combo1, &QComboBox::activated, this, [this] { fuelSelected(); });
    Command6 = new QPushButton(QStringLiteral("Тип горючего вещества"), central);
    Command6->setObjectName(QStringLiteral("Command6"));
    connect(Command6, &QPushButton::clicked, this, [this] { openFuelDirectory(); });

    Frame2 = new QGroupBox(central);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Label2 = wrapLabel(Frame2, "Label2",
                       QStringLiteral("Для производственных помещений (зданий) и других замкнутых объемов значения z "
                                      "могут приниматься в соответствии с таблицей"));
    Tabl_Name = makeGrid(Frame2, "Tabl_Name");
    Tabl_Name->setMinimumHeight(200);
    connect(Tabl_Name, &QTableWidget::cellDoubleClicked, this, [this] { openFuelDirectory(); });
    {
        auto* v = new QVBoxLayout(Frame2);
        v->addWidget(Label2);
        v->addWidget(Tabl_Name, 1);
    }

    Frame4 = new QGroupBox(central);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    Label5 = wrapLabel(Frame4, "Label5",
                       QStringLiteral("В общем случае для неорганизованных парогазовых облаков в незамкнутом "
                                      "пространстве с большой массой горючих веществ доля участия во взрыве может "
                                      "приниматься равной 0,1. В отдельных обоснованных случаях доля участия веществ "
                                      "во взрыве может быть снижена, но не менее чем до 0,02."));
    (new QVBoxLayout(Frame4))->addWidget(Label5);

    auto* zRow = new QHBoxLayout;
    zRow->addWidget(Label1);
    zRow->addWidget(Zet);
    zRow->addStretch(1);
    auto* fuelRow = new QHBoxLayout;
    fuelRow->addWidget(Combo1, 1);
    fuelRow->addWidget(Command6);

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(lbl1);
    layout->addLayout(zRow);
    layout->addLayout(checkRow(Option3, QStringLiteral("производственные помещения (здания) и другие замкнутые объемы"),
                               central));
    layout->addLayout(checkRow(Option4, QStringLiteral("вне помещения, открытое (незамкнутое) пространство"), central));
    layout->addLayout(fuelRow);
    layout->addWidget(Frame2, 1);
    layout->addWidget(Frame4);
    // Outdoors the grid is hidden: the room it leaves stays below, and the
    // options keep their captions beside them.
    layout->addStretch();
    setCentralWidget(central);
    resize(760, 520);
}

void frmDolya_z::showEvent(QShowEvent* event)
{
    ui::Screen::showEvent(event);
    if (!event->spontaneous())
        activate();
}

void frmDolya_z::activate()
{
    Tabl_Name->clear();
    Tabl_Name->setRowCount(2);
    Tabl_Name->setColumnCount(2);
    Tabl_Name->setColumnWidth(0, px(5700));
    Tabl_Name->setColumnWidth(1, px(600));
    setCell(Tabl_Name, 0, 0, QStringLiteral("Наименование вида горючего"));
    setCell(Tabl_Name, 0, 1, QStringLiteral("z"));
    Combo1->clear();

    QList<records::FuelKind> kinds;
    onStore([&] { kinds = records::fuelKinds(state_.db()); });
    int j = 1;
    for (const records::FuelKind& kind : kinds) {
        if (j >= 2)
            Tabl_Name->setRowCount(j + 1);
        const QString& name = kind.Name;
        Combo1->addItem(name);
        setCell(Tabl_Name, j, 0, name);
        setCell(Tabl_Name, j, 1, calc::numberText(kind.z));
        fitRowHeight(Tabl_Name, j, wrappedRowHeight(name, 62, 250));
        ++j;
    }
    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        fuelSelected();
    }

    if (outdoors_) {
        Option4->setChecked(true);
        applySpaceRule();
        Option3->setEnabled(false);
        Option4->setEnabled(true);
    } else {
        Option3->setChecked(true);
        applySpaceRule();
        Option4->setEnabled(false);
        Option3->setEnabled(true);
    }
}

void frmDolya_z::applySpaceRule()
{
    const bool closed = Option3->isChecked();
    Frame2->setVisible(closed);
    Frame4->setVisible(!closed);
    Command6->setVisible(closed);
    Combo1->setVisible(closed);
    if (closed)
        fuelSelected();
    else
        Zet->setText(kOutdoorZ);
}

void frmDolya_z::fuelSelected()
{
    QString z = kOutdoorZ;
    try {
        if (const auto kind = records::findFuelKind(state_.db(), Combo1->currentText()))
            z = calc::numberText(kind->z);
    } catch (const db::StoreError&) {
        // A failing lookup falls back to the outdoor value without a message.
    }
    Zet->setText(z);
}

void frmDolya_z::openFuelDirectory()
{
    // Shown again on return, the dialog runs its activation: the kinds are
    // listed anew. The kind it showed stays chosen (under its new name when
    // it was renamed), and z stays as it was.
    const QString chosen = Combo1->currentText();
    const QString z = Zet->text();
    ui::openDirectory(this, QStringLiteral("frmBD_Goryuch"), [=, this](const ui::Renames& renames) {
        ui::keepChoice(Combo1, chosen, renames);
        Zet->setText(z);
    });
}

bool frmDolya_z::saveAndReturn()
{
    const auto z = calc::parseNumber(Zet->text());
    if (!z) {
        ui::showInputError(Zet);
        Zet->setFocus(Qt::OtherFocusReason);
        return false;
    }
    if (*z < 0.02) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Доля участия вещества во взрыве не может быть снижена ниже 0,02!"),
                             ui::Icon::Warning);
        Zet->setText(kLowestZ);
        return false;
    }
    if (*z > 1) {
        ui::dialogs().inform(QStringLiteral("Внимание!"),
                             QStringLiteral("Доля участия вещества во взрыве не может быть больше 1!"),
                             ui::Icon::Warning);
        Zet->setText(QStringLiteral("1"));
    }
    if (accept_)
        accept_(Zet->text());
    returnToCaller();
    return true;
}

}  // namespace veltron::screens
