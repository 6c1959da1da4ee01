#include "models/frmOutput_KR.h"

#include "calc/number_text.h"
#include "records/complex_pool.h"
#include "records/complex_rows.h"
#include "records/journal.h"
#include "records/signature.h"
#include "report/complex_report.h"
#include "screens/energy_captions.h"
#include "screens/form_widgets.h"
#include "screens/report_folder_dialog.h"
#include "screens/stop_message.h"
#include "screens/store_errors.h"
#include "screens/zone_map.h"
#include "screens/zone_results.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"
#include "ui/report_file.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltron::models {

using screens::wrapLabel;

namespace {

const QString kQuestionTitle = QStringLiteral("В н и м а н и е ! ! !");
const QString kLostQuestion = QStringLiteral("Удаленные данные будут утеряны! Продолжить?");

// The values of a row under their symbols, for the tip of its name.
QString rowTip(const calc::BlockEnergies& r)
{
    const QStringList texts = report::complexRowTexts(r);
    const char* const symbols[] = {"E1′", "E2′", "E1″", "E2″", "E3″", "E4″", "Wт"};
    QStringList lines;
    for (int i = 0; i < 7; ++i)
        lines << QStringLiteral("%1 = %2 %3").arg(QString::fromUtf8(symbols[i]), texts[i + 1],
                                                  i < 6 ? QStringLiteral("кДж") : QStringLiteral("кг"));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

frmOutput_KR::frmOutput_KR(AppState& state, QWidget* parent)
    : ui::Screen(QStringLiteral("frmOutput_KR"),
                 QStringLiteral("комплексный расчет энергетического потенциала АРБ и смежных блоков"), parent),
      state_(state)
{
    mnuReturn = addMenuAction(QStringLiteral("mnuReturn"), QStringLiteral("<<Назад"), [this] { back(); });
    mnuRasch = addMenu(QStringLiteral("mnuRasch"), QStringLiteral("Работа с расчетом"));
    mnuSave = addMenuItem(mnuRasch, QStringLiteral("mnuSave"), QStringLiteral("Сохранить"), [this] { save(); });
    mnuDelete = addMenuItem(mnuRasch, QStringLiteral("mnuDelete"), QStringLiteral("Удалить"),
                            [this] { deleteCalculation(); });
    mnuRaschet = addMenuAction(QStringLiteral("mnuRaschet"), QStringLiteral("Расчет"), [this] { run(); });
    mnuWord = addMenuAction(QStringLiteral("mnuWord"), QStringLiteral("Вывод результатов в MWord"), [this] { report(); });
    mnuFolder = addMenuAction(QStringLiteral("mnuFolder"), QStringLiteral("Папка для сохранения отчета"),
                              [this] { screens::openReportFolder(state_, this); });
    mnuExit = addMenuAction(QStringLiteral("mnuExit"), QStringLiteral("Выход"), [] { ui::navigator().exitRoutine(); });

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildPage(), QStringLiteral("комплексный расчет энергетического потенциала"));
    setCentralWidget(SSTab1);

    fillPool();
    Frame1->hide();
    Command2->setEnabled(false);
    Command6->setEnabled(false);
    try {
        rows_ = records::openComplexRows(state_.db(), state_.current.id);
    } catch (const db::StoreError& e) {
        screens::showStoreError(e, QStringLiteral("Строки расчета не загружены."));
    }
    showRows();
    resize(1330, 700);
}

QWidget* frmOutput_KR::buildPage()
{
    auto* page = new QWidget;

    // The pool: the list, the values of the chosen entry, its two buttons.
    auto* pool = new QGroupBox(QStringLiteral("Выбор вариантов расчетов из базы данных"), page);
    pool->setObjectName(QStringLiteral("FramePool"));
    auto* pg = new QGridLayout(pool);
    pg->setColumnStretch(0, 1);
    Combo1 = new QComboBox(pool);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Combo1->setMinimumContentsLength(28);
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { choosePoolEntry(); });
    pg->addWidget(Combo1, 0, 0, 1, 2);
    int row = 1;
    const auto field = [&](const char* labelName, const QString& caption, QLineEdit*& box, const char* name) {
        pg->addWidget(wrapLabel(pool, labelName, caption), row, 0);
        box = screens::valueBox(pool, name, 170);
        box->clear();
        pg->addWidget(box, row++, 1, Qt::AlignTop);
    };
    field("LE11", screens::captions::LE11, E11, "E11");
    field("LE12", screens::captions::LE12, E12, "E12");
    field("LE21", screens::captions::LE21, E21, "E21");
    field("LE22", screens::captions::LE22, E22, "E22");
    field("LE23", screens::captions::LE23, E23, "E23");
    field("LE24", screens::captions::LE24, E24, "E24");
    {
        auto* l = wrapLabel(pool, "LWt_0", QStringLiteral("Wт="));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        pg->addWidget(l, row, 0);
        Wt_0 = screens::valueBox(pool, "Wt_0", 170);
        Wt_0->clear();
        pg->addWidget(Wt_0, row++, 1);
    }
    Command2 = screens::namedButton(pool, "Command2", QStringLiteral("добавить расчет"));
    Command6 = screens::namedButton(pool, "Command6", QStringLiteral("удалить расчет из БД"));
    connect(Command2, &QPushButton::clicked, this, [this] { addRow(); });
    connect(Command6, &QPushButton::clicked, this, [this] { deletePoolEntry(); });
    auto* poolButtons = new QHBoxLayout;
    poolButtons->addWidget(Command2);
    poolButtons->addWidget(Command6);
    poolButtons->addStretch(1);
    pg->addLayout(poolButtons, row, 0, 1, 2);

    // The rows of the calculation, with the run.
    Command3 = screens::namedButton(page, "Command3", QStringLiteral("удалить расчет"));
    Command4 = screens::namedButton(page, "Command4", QStringLiteral("удалить расчет"));
    for (QPushButton* b : {Command3, Command4}) {
        b->setEnabled(false);
        connect(b, &QPushButton::clicked, this, [this] { removeRow(); });
    }
    tabRasch = screens::makeGrid(page, "tabRasch");
    tabRasch->setSelectionBehavior(QAbstractItemView::SelectRows);
    tabRasch->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(tabRasch, &QTableWidget::itemSelectionChanged, this, [this] { selectRow(); });
    lblNoRows = wrapLabel(page, "lblNoRows", QStringLiteral("Расчеты не выбраны"));
    lblNoRows->setAlignment(Qt::AlignCenter);
    lblNoRows->setFrameShape(QFrame::StyledPanel);
    Command1 = screens::namedButton(page, "Command1", QStringLiteral("Расчет"));
    Command1->setMinimumWidth(140);
    connect(Command1, &QPushButton::clicked, this, [this] { run(); });

    screens::prepareGrid(tabRasch, report::complexRowsHeader(), {5300, 0, 0, 0, 0, 0, 0, 0});
    tabRasch->setRowCount(1);
    tabRasch->setFixedWidth(tabRasch->columnWidth(0) + 2 * tabRasch->frameWidth() + 18);
    tabRasch->setMinimumHeight(150);

    auto* rowsBox = new QGridLayout;
    rowsBox->addWidget(Command3, 0, 0, Qt::AlignLeft);
    rowsBox->addWidget(tabRasch, 1, 0);
    rowsBox->addWidget(lblNoRows, 1, 0);
    rowsBox->addWidget(Command4, 2, 0, Qt::AlignLeft);
    rowsBox->addWidget(Command1, 1, 1, Qt::AlignBottom | Qt::AlignRight);
    rowsBox->setColumnStretch(1, 1);
    rowsBox->setRowStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(pool);
    left->addLayout(rowsBox, 1);

    // The results of the last run.
    Frame1 = new QGroupBox(QStringLiteral("Результаты расчета"), page);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* rg = new QGridLayout;
    rg->setColumnStretch(0, 1);
    int r = 0;
    const auto value = [&](const char* labelName, const QString& caption, QLineEdit*& box, const char* name) {
        rg->addWidget(wrapLabel(Frame1, labelName, caption), r, 0);
        box = screens::valueBox(Frame1, name, 130);
        rg->addWidget(box, r++, 1);
    };
    value("LQ", QStringLiteral("Относительный энергетический потенциал взрывоопасности Qв"), Q, "Q");
    value("Lm",
          QStringLiteral("Общая масса горючих паров (газов) взрывоопасного парогазового облака m, приведенная к "
                         "единой удельной энергии сгорания, равной 46 000 кДж/кг"),
          m, "m");
    value("LWt", QStringLiteral("Тротиловый эквивалент взрыва парогазовой среды Wт, кг"), Wt, "Wt");
    {
        auto* kategor = wrapLabel(Frame1, "Kategor", QStringLiteral("Категория взрывоопасности:"));
        QFont f = kategor->font();
        f.setBold(true);
        kategor->setFont(f);
        Zn_kategor = new QLabel(Frame1);
        Zn_kategor->setObjectName(QStringLiteral("Zn_kategor"));
        QFont big = f;
        big.setPointSizeF(f.pointSizeF() * 1.6);
        Zn_kategor->setFont(big);
        Zn_kategor->setStyleSheet(QStringLiteral("QLabel { color: #c00000; }"));
        rg->addWidget(kategor, r, 0);
        rg->addWidget(Zn_kategor, r++, 1);
    }
    screens::ZoneResults::Options zoneOptions;
    zoneOptions.mapPlace = screens::ZoneResults::Options::MapPlace::Apart;
    zones = new screens::ZoneResults(zoneOptions, Frame1);
    auto* frame = new QVBoxLayout(Frame1);
    // The map of the zones beside the values, over the zone grid.
    auto* top = new QHBoxLayout;
    top->addLayout(rg, 1);
    top->addWidget(zones->map, 1);
    frame->addLayout(top);
    frame->addSpacing(6);
    auto* zoneRow = new QHBoxLayout;
    zoneRow->addWidget(zones);
    zoneRow->addStretch(1);
    frame->addLayout(zoneRow);
    frame->addStretch(1);

    auto* right = new QVBoxLayout;
    right->addWidget(Frame1);
    right->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addSpacing(8);
    layout->addLayout(right, 1);
    return page;
}

void frmOutput_KR::fillPool()
{
    QList<records::PoolItem> items;
    try {
        items = records::listPool(state_.db());
    } catch (const db::StoreError& e) {
        screens::showStoreError(e);
    }
    const QSignalBlocker quiet(Combo1);
    Combo1->clear();
    Combo1->addItem(QStringLiteral("выбрать блок"), 0);
    for (const records::PoolItem& item : items)
        Combo1->addItem(item.pName, item.id);
    Combo1->setCurrentIndex(0);
    choosePoolEntry();
}

void frmOutput_KR::choosePoolEntry()
{
    chosen_.reset();
    const int id = Combo1->currentData().toInt();
    if (id != 0) {
        try {
            chosen_ = records::findPoolEntry(state_.db(), id);
            if (!chosen_)
                ui::dialogs().inform(QStringLiteral("Внимание!"),
                                     QStringLiteral("Данные «%1» удалены из базы данных другим пользователем.")
                                         .arg(Combo1->currentText()),
                                     ui::Icon::Warning);
        } catch (const db::StoreError& e) {
            screens::showStoreError(e);
        }
    }
    const std::pair<QLineEdit*, double calc::BlockEnergies::*> fields[] = {
        {E11, &calc::BlockEnergies::E11}, {E12, &calc::BlockEnergies::E12}, {E21, &calc::BlockEnergies::E21},
        {E22, &calc::BlockEnergies::E22}, {E23, &calc::BlockEnergies::E23}, {E24, &calc::BlockEnergies::E24},
        {Wt_0, &calc::BlockEnergies::Wt}};
    for (const auto& [box, value] : fields)
        box->setText(chosen_ ? report::fullNumber((*chosen_).*value) : QString());
    Command2->setEnabled(chosen_.has_value());
    Command6->setEnabled(id != 0);
}

void frmOutput_KR::showRows()
{
    const bool shown = !rows_.isEmpty();
    {
        const QSignalBlocker quiet(tabRasch);
        tabRasch->clearSelection();
        tabRasch->setRowCount(1 + int(rows_.size()));
        for (int i = 0; i < rows_.size(); ++i) {
            const QStringList cells = report::complexRowTexts(rows_[i]);
            for (int c = 0; c < cells.size(); ++c)
                screens::setCell(tabRasch, i + 1, c, cells[c]);
            tabRasch->item(i + 1, 0)->setToolTip(rowTip(rows_[i]));
        }
        tabRasch->resizeRowsToContents();
    }
    tabRasch->setVisible(shown);
    lblNoRows->setVisible(!shown);
    selectRow();
}

void frmOutput_KR::selectRow()
{
    const bool dataRow = !rows_.isEmpty() && !tabRasch->selectedItems().isEmpty() && tabRasch->currentRow() >= 1;
    Command3->setEnabled(dataRow);
    Command4->setEnabled(dataRow);
}

bool frmOutput_KR::addRow()
{
    if (!chosen_)
        return false;
    for (const calc::BlockEnergies& r : rows_) {
        if (r.pName == chosen_->pName) {
            ui::dialogs().inform(QStringLiteral("Ввод данных"), QStringLiteral("Данный блок введен!!!"),
                                 ui::Icon::Warning);
            return false;
        }
    }
    rows_.push_back(*chosen_);
    showRows();
    return true;
}

void frmOutput_KR::removeRow()
{
    const int selected = tabRasch->currentRow();
    if (selected < 1 || selected > rows_.size())
        return;
    rows_.removeAt(selected - 1);
    showRows();
}

void frmOutput_KR::deletePoolEntry()
{
    const int id = Combo1->currentData().toInt();
    if (ui::dialogs().ask(kQuestionTitle, kLostQuestion, ui::Icon::Question, ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    if (id == 0)
        return;
    if (!screens::onStore([&] { records::deletePoolEntry(state_.db(), id); }))
        return;
    fillPool();
    Frame1->hide();
}

bool frmOutput_KR::run()
{
    const calc::ComplexOutcome outcome = calc::runComplex(rows_);
    if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
        screens::showStop(*stop);
        return false;
    }
    if (!screens::onStore(
            [&] { records::appendJournalRow(state_.db(), calc::kComplexJournalName, QString()); },
            QStringLiteral("Расчет не выполнен.")))
        return false;
    run_ = calc::ComplexRun{rows_, std::get<calc::ComplexResult>(outcome)};
    state_.lastComplex = run_;
    const report::ComplexView view = report::complexView(run_->result);
    m->setText(view.m);
    Q->setText(view.Q);
    Wt->setText(view.Wt);
    Zn_kategor->setText(view.Zn_kategor);
    zones->showZones(run_->result.R0);
    Frame1->show();
    zones->calculate();
    return true;
}

bool frmOutput_KR::save()
{
    if (rows_.isEmpty()) {
        ui::dialogs().inform(QStringLiteral("Внимание!"), QStringLiteral("Введите расчеты!"), ui::Icon::Warning);
        return false;
    }
    return screens::onStore([&] { records::saveComplexRows(state_.db(), state_.current.id, rows_); },
                            QStringLiteral("Строки комплексного расчета не сохранены."));
}

void frmOutput_KR::deleteCalculation()
{
    if (ui::dialogs().ask(kQuestionTitle, kLostQuestion, ui::Icon::Question, ui::Buttons::YesNo) != ui::Answer::Yes)
        return;
    if (!screens::onStore([&] { records::deleteComplexCalculation(state_.db(), state_.current.id); },
                          QStringLiteral("Комплексный расчет не удален.")))
        return;
    state_.current = {};
    ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
}

QString frmOutput_KR::report()
{
    if (!run_) {
        screens::showNoRunYet();
        return {};
    }
    const report::ZoneTable table = zones->table();
    const report::ZoneMapData map = zones->mapData().value();
    return ui::makeReportInPlace(state_.reportFolder, state_.dataDir, [this, &table, &map] {
        return report::buildComplexReport(*run_, table, map, records::rememberedSignature(state_.dataDir));
    });
}

void frmOutput_KR::back()
{
    if (!rows_.isEmpty()
        && ui::dialogs().ask(kQuestionTitle, QStringLiteral("Сохранить введенные данные? Продолжить?"),
                             ui::Icon::Question, ui::Buttons::YesNo)
               == ui::Answer::Yes
        && !save())
        return;
    ui::goTo(this, QStringLiteral("frmLoad_Rasch"), {});
}

}  // namespace veltron::models
