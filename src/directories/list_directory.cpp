#include "directories/list_directory.h"

#include "calc/number_text.h"
#include "directories/number_boxes.h"
#include "records/calculations.h"
#include "records/value_ranges.h"
#include "screens/form_widgets.h"
#include "screens/store_errors.h"
#include "screens/substance_marks.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace veltron::directories {

namespace {

using screens::namedButton;
using screens::onStore;
using screens::px;
using screens::setCell;

const QString kBaseTitle = QStringLiteral("Добавление\\изменение базы данных");
const QString kLostQuestion = QStringLiteral("Удаленные данные будут утеряны! Продолжить?");

QString taken(const char* what)
{
    return QString::fromUtf8(what) + QStringLiteral(" «%1» уже есть в справочнике. Введите другое наименование.");
}

}  // namespace

ListDirectory::ListDirectory(AppState& state, ListDirectoryKind kind, QWidget* parent)
    : ui::Screen(QLatin1String(kind.screen), kind.title, parent), kind_(std::move(kind)), state_(state)
{
    build();
    showBrowsing();
    int width = px(kind_.nameWidth);
    for (const ListDirectoryKind::Value& v : kind_.values)
        width += px(v.width);
    resize(std::max(width + 70, 460), kind_.browsingHeight ? px(kind_.browsingHeight) : 520);
}

void ListDirectory::build()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    browseFrame = new QGroupBox(central);
    browseFrame->setObjectName(QLatin1String(kind_.frameName));
    auto* browse = new QVBoxLayout(browseFrame);
    heading = screens::wrapLabel(browseFrame, kind_.headingName, kind_.heading);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    browse->addWidget(heading);
    grid = screens::makeGrid(browseFrame, kind_.gridName);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    browse->addWidget(grid, 1);
    if (kind_.hidesEmptyGrid) {
        Label4 = screens::wrapLabel(browseFrame, "Label4", QStringLiteral("Данные не введены"));
        Label4->setAlignment(Qt::AlignCenter);
        browse->addWidget(Label4, 1);
    }
    lblMissing = screens::wrapLabel(browseFrame, "lblMissing",
                                    QStringLiteral("Знак ⚠ и выделенные ячейки: значение не задано или неприменимо в "
                                                   "расчете (например, 0 там, где оно должно быть больше 0). "
                                                   "Исправьте его кнопкой «Изменить»."));
    lblMissing->hide();
    browse->addWidget(lblMissing);
    auto* browseButtons = new QHBoxLayout;
    Command2 = namedButton(browseFrame, "Command2", QStringLiteral("Новое"));
    Command5 = namedButton(browseFrame, "Command5", QStringLiteral("Изменить"));
    Command3 = namedButton(browseFrame, "Command3", QStringLiteral(" Удалить"));
    browseButtons->addStretch(1);
    for (QPushButton* b : {Command2, Command5, Command3})
        browseButtons->addWidget(b);
    browse->addLayout(browseButtons);
    layout->addWidget(browseFrame, 1);

    Frame1 = new QGroupBox(central);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* panel = new QGridLayout(Frame1);
    panel->setColumnStretch(0, 1);
    Name_Object = new QLineEdit(Frame1);
    Name_Object->setObjectName(QStringLiteral("Name_Object"));
    Name_Object->setMinimumWidth(280);
    panel->addWidget(screens::wrapLabel(Frame1, "lblName_Object", kind_.nameLabel), 0, 0);
    panel->addWidget(Name_Object, 0, 1);
    for (const ListDirectoryKind::Value& v : kind_.values) {
        auto* box = new ui::NumericEdit(ui::NumericEdit::Converting, Frame1);
        box->setObjectName(QLatin1String(v.box));
        box->setMaximumWidth(140);
        values << box;
        const int row = panel->rowCount();
        panel->addWidget(screens::wrapLabel(Frame1, ("lbl" + QByteArray(v.box)).constData(), v.label), row, 0);
        panel->addWidget(box, row, 1, Qt::AlignLeft);
    }
    auto* panelButtons = new QHBoxLayout;
    Command1 = namedButton(Frame1, "Command1", kind_.enterCaption);
    Command4 = namedButton(Frame1, "Command4", QStringLiteral("Отмена"));
    panelButtons->addStretch(1);
    panelButtons->addWidget(Command1);
    panelButtons->addWidget(Command4);
    panel->addLayout(panelButtons, panel->rowCount(), 0, 1, 2);
    layout->addWidget(Frame1);
    setCentralWidget(central);

    mnuPred = addMenuAction(QStringLiteral("mnuPred"), QStringLiteral("<<Назад"), [this] { back(); });

    connect(Command2, &QPushButton::clicked, this, [this] { newEntry(); });
    connect(Command5, &QPushButton::clicked, this, [this] { changeEntry(); });
    connect(Command3, &QPushButton::clicked, this, [this] { deleteEntry(); });
    connect(Command1, &QPushButton::clicked, this, [this] { enter(); });
    connect(Command4, &QPushButton::clicked, this, [this] { cancel(); });
    connect(grid, &QTableWidget::currentCellChanged, this, [this] { rowSelected(); });
    connect(grid, &QTableWidget::cellClicked, this, [this] { rowSelected(); });
    connect(grid, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (kind_.doubleClickEdits && row >= 1 && !editing_) {
            grid->setCurrentCell(row, 0);
            changeEntry();
        }
    });
    connect(Name_Object, &QLineEdit::textChanged, this,
            [this] { Command1->setEnabled(!Name_Object->text().trimmed().isEmpty()); });
}

void ListDirectory::fill()
{
    filling_ = true;
    grid->clear();
    grid->setRowCount(2);
    grid->setColumnCount(1 + int(kind_.values.size()));
    grid->setColumnWidth(0, px(kind_.nameWidth));
    setCell(grid, 0, 0, kind_.nameHeader);
    for (int c = 0; c < int(kind_.values.size()); ++c) {
        grid->setColumnWidth(c + 1, px(kind_.values[std::size_t(c)].width));
        setCell(grid, 0, c + 1, kind_.values[std::size_t(c)].header);
    }
    if (!kind_.values.empty())
        grid->setRowHeight(0, px(450) + 6);
    entries_.clear();
    onStore([&] { entries_ = records::directoryEntries(state_.db(), kind_.table); });
    const QString table = records::directoryTable(kind_.table);
    const QStringList fields = records::directoryFields(kind_.table);
    bool anyMarked = false;
    int row = 1;
    for (const records::DirectoryEntry& e : entries_) {
        if (row > 1)
            grid->setRowCount(row + 1);
        setCell(grid, row, 0, e.Name);
        grid->item(row, 0)->setToolTip(e.Name);  // a name longer than its lines is cut
        bool marked = false;
        for (int c = 0; c < int(e.values.size()); ++c) {
            const std::optional<double>& value = e.values[std::size_t(c)];
            setCell(grid, row, c + 1, calc::numberText(value.value_or(0)));
            // A stored value the formulas cannot use is shown as it is, marked.
            if (records::unusable(table, fields.value(c), value)) {
                screens::markMissingCell(grid->item(row, c + 1));
                marked = true;
            }
        }
        if (marked)
            grid->item(row, 0)->setIcon(screens::missingMark(this));
        anyMarked = anyMarked || marked;
        if (kind_.charsPerLine > 0)
            grid->setRowHeight(row, screens::wrappedRowHeight(e.Name, kind_.charsPerLine, 250));
        ++row;
    }
    lblMissing->setVisible(anyMarked);
    if (Label4) {
        const bool any = !entries_.isEmpty();
        grid->setVisible(any);
        Label4->setVisible(!any);
    }
    grid->setCurrentCell(-1, -1);
    filling_ = false;
}

QString ListDirectory::selectedName() const
{
    const int row = grid->currentRow();
    return row >= 1 && row <= entries_.size() ? entries_[row - 1].Name : QString();
}

void ListDirectory::rowSelected()
{
    if (filling_ || editing_)
        return;
    const bool data = !selectedName().isEmpty();
    Command5->setEnabled(data);
    Command3->setEnabled(data);
}

void ListDirectory::showBrowsing()
{
    editing_ = false;
    Frame1->hide();
    Name_Object->clear();
    Command3->setEnabled(false);
    Command5->setEnabled(false);
    mnuPred->setEnabled(true);
    browseFrame->setEnabled(true);
    if (kind_.browsingHeight)
        resize(width(), px(kind_.browsingHeight));
}

void ListDirectory::showPanel()
{
    editing_ = true;
    Frame1->show();
    Command3->setEnabled(false);
    mnuPred->setEnabled(false);
    browseFrame->setEnabled(false);
    Command1->setEnabled(!Name_Object->text().trimmed().isEmpty());
    if (kind_.editingHeight)
        resize(width(), px(kind_.editingHeight));
    if (Name_Object->isEnabled())
        Name_Object->setFocus(Qt::OtherFocusReason);
}

void ListDirectory::newEntry()
{
    remembered_.clear();
    Name_Object->clear();
    for (ui::NumericEdit* box : values)
        showNewNumber(box, QStringLiteral("0"));
    Name_Object->setEnabled(true);
    showPanel();
}

bool ListDirectory::currentSurfaceIs(const QString& name)
{
    std::optional<records::Conditions> conditions;
    onStore([&] { conditions = records::loadConditions(state_.db(), state_.current.id); });
    return conditions && conditions->Name_poverhn == name;
}

void ListDirectory::changeEntry()
{
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    remembered_ = name;
    const records::DirectoryEntry& e = entries_[grid->currentRow() - 1];
    Name_Object->setText(e.Name);
    for (int i = 0; i < values.size(); ++i)
        showStoredNumber(values[i], e.values[std::size_t(i)]);
    Name_Object->setEnabled(!(kind_.guardsSurfaces && currentSurfaceIs(name)));
    showPanel();
}

bool ListDirectory::enter()
{
    if (!editing_ || !Command1->isEnabled())
        return false;
    const QString notSaved = QStringLiteral("Данные не сохранены.");
    records::DirectoryEntry e{Name_Object->text().trimmed(), {}};
    for (int i = 0; i < values.size(); ++i) {
        const BoxNumber n = boxNumber(values[i]);
        if (!n.valid) {
            refuseBox(values[i], kind_.values[std::size_t(i)].label, notSaved);
            return false;
        }
        e.values.push_back(n.value);
    }
    for (int i = 0; i < values.size(); ++i)
        if (!withinRange(values[i], kind_.values[std::size_t(i)].label, boxNumber(values[i]),
                         records::directoryTable(kind_.table), QString::fromLatin1(kind_.values[std::size_t(i)].box),
                         notSaved))
            return false;
    bool saved = false;
    if (!onStore([&] { saved = records::saveDirectoryEntry(state_.db(), kind_.table, remembered_, e); }, notSaved))
        return false;
    if (!saved) {
        ui::dialogs().inform(QStringLiteral("Внимание!"), kind_.nameTaken.arg(e.Name), ui::Icon::Critical);
        if (Name_Object->isEnabled())
            Name_Object->setFocus(Qt::OtherFocusReason);
        return false;
    }
    showBrowsing();
    fill();
    return true;
}

void ListDirectory::cancel()
{
    if (editing_)
        showBrowsing();
}

void ListDirectory::deleteEntry()
{
    const QString name = selectedName();
    if (name.isEmpty() || editing_)
        return;
    if (kind_.guardsSurfaces) {
        bool used = true;
        if (!onStore([&] { used = records::surfaceInCalculations(state_.db(), name); }))
            return;
        if (used) {
            ui::dialogs().inform(QStringLiteral("Внимание!"),
                                 QStringLiteral("Невозможно удалить! Данная поверхность сохранена в исходных данных!"),
                                 ui::Icon::Critical);
            return;
        }
    }
    if (ui::dialogs().ask(QStringLiteral("В н и м а н и е ! ! !"), kind_.deleteQuestion, ui::Icon::Question,
                          ui::Buttons::YesNo)
        != ui::Answer::Yes)
        return;
    if (!onStore([&] { records::deleteDirectoryEntry(state_.db(), kind_.table, name); },
                 QStringLiteral("Запись не удалена.")))
        return;
    fill();
    Command3->setEnabled(false);
    Command5->setEnabled(false);
}

void ListDirectory::back()
{
    leave();
}

frmBD_Type::frmBD_Type(AppState& state, QWidget* parent)
    : ListDirectory(
          state,
          {.table = records::Directory::Surfaces,
           .screen = "frmBD_Type",
           .title = kBaseTitle,
           .headingName = "Label2",
           .heading = QStringLiteral("Вид подстилающей поверхности"),
           .frameName = "Frame2",
           .gridName = "Tabl_Name",
           .nameLabel = QStringLiteral("Наименование поверхности"),
           .nameHeader = QStringLiteral("Наименование поверхности"),
           .nameWidth = 5500,
           .values = {{"p", QStringLiteral("Плотность материала твердой поверхности, кг/куб.м"),
                       QStringLiteral("Плотность, кг/куб.м"), 2100},
                      {"lyambda",
                       QStringLiteral("Коэффициент теплопроводности материала твердой поверхности (пола, поддона, "
                                      "земли и т.п.) , вт/(м*К)"),
                       QStringLiteral("Коэф. теплопроводности, Вт/(м*К)"), 3300},
                      {"c", QStringLiteral("Удельная теплоемкость материала твердой поверхности, кдж/(кг*К)"),
                       QStringLiteral("Уд. теплоемкость, кДж/(кг*К)"), 2900}},
           .charsPerLine = 60,
           .doubleClickEdits = false,
           .guardsSurfaces = true,
           .enterCaption = QStringLiteral("Ввести"),
           .deleteQuestion = kLostQuestion,
           .nameTaken = taken("Поверхность")},
          parent)
{
    fill();
}

frmBD_Goryuch::frmBD_Goryuch(AppState& state, QWidget* parent)
    : ListDirectory(state,
                    {.table = records::Directory::FuelKinds,
                     .screen = "frmBD_Goryuch",
                     .title = kBaseTitle,
                     .headingName = "Label2",
                     .heading = QStringLiteral("Значение доли (z) приведенной массы парогазовых веществ, "
                                               "участвующих во взрыве, для замкнутых объемов (помещений)"),
                     .frameName = "Frame2",
                     .gridName = "Tabl_Name",
                     .nameLabel = QStringLiteral("Наименование горючего вещества (тип)"),
                     .nameHeader = QStringLiteral("Наименование типа горючего"),
                     .nameWidth = 5700,
                     .values = {{"z",
                                 QStringLiteral("Значение доли (z) приведенной массы парогазовых веществ, "
                                                "участвующих во взрыве, для замкнутых объемов (помещений)"),
                                 QStringLiteral("z"), 600}},
                     .charsPerLine = 62,
                     .enterCaption = QStringLiteral("Ввести"),
                     .deleteQuestion = kLostQuestion,
                     .nameTaken = taken("Вид горючего")},
                    parent)
{
    fill();
}

frmBD_KVV::frmBD_KVV(AppState& state, QWidget* parent)
    : ListDirectory(state,
                    {.table = records::Directory::Compounds,
                     .screen = "frmBD_KVV",
                     .title = QStringLiteral("Твердые и жидкие химически нестабильные соединения"),
                     .headingName = "Label2",
                     .heading = QStringLiteral("Твердые и жидкие химически нестабильные соединения"),
                     .frameName = "Frame2",
                     .gridName = "Tabl_Name",
                     .nameLabel = QStringLiteral("Наименование вещества"),
                     .nameHeader = QStringLiteral("Наименование"),
                     .nameWidth = 4900,
                     .values = {{"Energy",
                                 QStringLiteral("Удельная энергия взрыва, кДж/кг (для твердых и химически "
                                                "нестабильных соединений)"),
                                 QStringLiteral("Удельная энергия взрыва"), 1100}},
                     .charsPerLine = 62,
                     .enterCaption = QStringLiteral("Ввести"),
                     .deleteQuestion = kLostQuestion,
                     .nameTaken = taken("Соединение")},
                    parent)
{
    fill();
}

frmBD::frmBD(AppState& state, records::Directory list, const QString& title, QWidget* parent)
    : ListDirectory(state,
                    {.table = list,
                     .screen = "frmBD",
                     .title = QStringLiteral("Добавление/изменение базы данных"),
                     .headingName = "lblSpis",
                     .heading = title,
                     .frameName = "Frame3",
                     .gridName = "Tabl_Name_v",
                     .nameLabel = QStringLiteral("Наименование"),
                     .nameHeader = title,
                     .nameWidth = 6000,
                     .values = {},
                     .hidesEmptyGrid = false,
                     .enterCaption = QStringLiteral("Ввод"),
                     .deleteQuestion = QStringLiteral("Удаленная информация теряется! Продолжить удаление?"),
                     .nameTaken = QStringLiteral("«%1» уже есть в списке. Введите другое наименование."),
                     .browsingHeight = 4365,
                     .editingHeight = 5670},
                    parent)
{
    FillNameList(list, title);
}

void frmBD::FillNameList(records::Directory list, const QString& title)
{
    kind_.table = list;
    kind_.nameHeader = title;
    heading->setText(title);
    fill();
}

}  // namespace veltron::directories
