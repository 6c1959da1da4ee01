// Model IV on its real screen: the pool, the rows, the run, saving and
// deleting, and the report, reached from the model choice as a user does.
#include "models/models_fixture.h"

#include "common/leave_question.h"
#include "common/test_store.h"
#include "models/frmOutput_KR.h"
#include "records/calculations.h"
#include "records/complex_pool.h"
#include "records/complex_rows.h"
#include "report/docx/document.h"
#include "report/docx/package.h"
#include "report/zone_map.h"
#include "screens/zone_map_view.h"
#include "screens/form_widgets.h"
#include "screens/frmLoad.h"
#include "screens/register_model1_screens.h"
#include "screens/zone_results.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTableWidget>

using namespace veltron;
using models::frmOutput_KR;
using screens::cellText;

namespace {

const QString kQuestion = QStringLiteral("В н и м а н и е ! ! !");

calc::BlockEnergies block(const char* name, double E11, double Wt)
{
    return {QString::fromUtf8(name), E11, 1.5, 0, 0, 1.0 / 3, 0.25, Wt};
}

// A block whose energy is E1' alone.
calc::BlockEnergies plain(const char* name, double E11, double Wt)
{
    return {QString::fromUtf8(name), E11, 0, 0, 0, 0, 0, Wt};
}

class ModelIV : public test::ModelScreens {
protected:
    void SetUp() override
    {
        ModelScreens::SetUp();
        registerModelIScreens(state);
        state.db().exec("DELETE FROM tabKR");
    }

    void pool(const QList<calc::BlockEnergies>& entries)
    {
        for (const auto& e : entries)
            ASSERT_TRUE(records::addPoolEntry(state.db(), e));
    }

    // The complex calculation `name` from the list of complex calculations:
    // a new one, or the stored one of that name.
    frmOutput_KR* open(const QString& name)
    {
        // The model choice the screen left for, or a new one.
        auto* choice = test::visible<frmLoad_Rasch>("frmLoad_Rasch");
        if (!choice) {
            ui::navigator().open(QStringLiteral("frmLoad_Rasch"));
            test::settle();
            choice = test::visible<frmLoad_Rasch>("frmLoad_Rasch");
        }
        EXPECT_NE(choice, nullptr);
        if (!choice)
            return nullptr;
        choice->Option4->setChecked(true);
        click(choice->Command1);
        auto* list = test::visible<screens::frmLoad>("frmLoad1");
        EXPECT_NE(list, nullptr);
        if (!list)
            return nullptr;
        const int stored = list->Combo1->findText(name);
        if (stored >= 0) {
            list->Option3->setChecked(true);
            list->Combo1->setCurrentIndex(stored);
        } else {
            list->txtRasch->setText(name);
        }
        click(list->Command1);
        return test::visible<frmOutput_KR>("frmOutput_KR");
    }

    // Chooses the pool entry `name` and adds it as a row.
    static void add(frmOutput_KR* s, const char* name)
    {
        s->Combo1->setCurrentIndex(s->Combo1->findText(QString::fromUtf8(name)));
        click(s->Command2);
    }

    static QStringList gridNames(frmOutput_KR* s)
    {
        QStringList names;
        for (int r = 1; r < s->tabRasch->rowCount(); ++r)
            names << cellText(s->tabRasch, r, 0);
        return names;
    }

    static void selectRow(frmOutput_KR* s, int row)
    {
        s->tabRasch->setCurrentCell(row, 0);
        test::settle();
    }
};

}  // namespace

TEST_F(ModelIV, OpensOnThePoolAndAnEmptyCalculationThatRunsToZero)
{
    pool({block("Колонна К-1", 1, 1), block("аппарат 'А'", 2, 2), block("Емкость", 3, 3)});
    auto* s = open(QStringLiteral("Установка"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->windowTitle(), QStringLiteral("комплексный расчет энергетического потенциала АРБ и смежных блоков"));
    EXPECT_EQ(s->SSTab1->tabText(0), QStringLiteral("комплексный расчет энергетического потенциала"));
    QStringList items;
    for (int i = 0; i < s->Combo1->count(); ++i)
        items << s->Combo1->itemText(i);
    EXPECT_EQ(items, (QStringList{"выбрать блок", "аппарат 'А'", "Емкость", "Колонна К-1"}));
    EXPECT_EQ(s->Combo1->itemData(0).toInt(), 0);
    EXPECT_FALSE(s->Frame1->isVisible());
    EXPECT_FALSE(s->Command2->isEnabled());
    EXPECT_FALSE(s->Command6->isEnabled());
    EXPECT_FALSE(s->tabRasch->isVisible());
    EXPECT_TRUE(s->lblNoRows->isVisible());
    EXPECT_EQ(s->lblNoRows->text(), QStringLiteral("Расчеты не выбраны"));
    EXPECT_EQ(s->mnuRasch->title(), QStringLiteral("Работа с расчетом"));
    const std::pair<QAction*, const char*> menus[] = {
        {s->mnuReturn, "<<Назад"}, {s->mnuSave, "Сохранить"}, {s->mnuDelete, "Удалить"}, {s->mnuRaschet, "Расчет"},
        {s->mnuWord, "Вывод результатов в Word"}, {s->mnuFolder, "Папка для сохранения отчета"}, {s->mnuExit, "Выход"}};
    for (const auto& [action, text] : menus)
        EXPECT_EQ(action->text(), QString::fromUtf8(text));
    expectReportFolderRoundTrip(s, "mnuFolder");

    // Before the first run the report and the calculator are refused.
    trigger(s, "mnuWord");
    EXPECT_EQ(messages(), QStringList{"Внимание!|Сначала выполните расчет."});
    EXPECT_TRUE(journal().isEmpty());

    // No rows: E = 0.
    trigger(s, "mnuRaschet");
    EXPECT_TRUE(s->Frame1->isVisible());
    EXPECT_EQ(s->m->text(), QStringLiteral("0,0"));
    EXPECT_EQ(s->Q->text(), QStringLiteral("0,0"));
    EXPECT_EQ(s->Wt->text(), QStringLiteral("0,0"));
    EXPECT_EQ(s->Zn_kategor->text(), QStringLiteral("III"));
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(cellText(s->zones->tabZone, r, 3), QStringLiteral("0")) << r;
    EXPECT_EQ(cellText(s->zones->tabZone, 6, 0), QStringLiteral("расчет для 5 кПа"));
    EXPECT_EQ(journal(), QStringList{"Комплексный|"});
    ASSERT_TRUE(state.lastComplex.has_value());
    EXPECT_EQ(state.lastComplex->result.E, 0);
}

TEST_F(ModelIV, RowsComeFromThePoolOnceAndTheLastRemovedRowHidesTheGrid)
{
    pool({block("Колонна К-1", 1234.5, 10.25), block("Емкость", 3, 3)});
    auto* s = open(QStringLiteral("Установка"));
    ASSERT_NE(s, nullptr);
    s->Combo1->setCurrentIndex(s->Combo1->findText("Колонна К-1"));
    EXPECT_TRUE(s->Command2->isEnabled());
    EXPECT_TRUE(s->Command6->isEnabled());
    EXPECT_EQ(s->E11->text(), QStringLiteral("1234,5"));
    EXPECT_EQ(s->E12->text(), QStringLiteral("1,5"));
    EXPECT_EQ(s->Wt_0->text(), QStringLiteral("10,25"));
    click(s->Command2);
    EXPECT_TRUE(s->tabRasch->isVisible());
    EXPECT_FALSE(s->lblNoRows->isVisible());
    EXPECT_EQ(s->tabRasch->rowCount(), 2);
    // Only the names are on view; the seven values are in the grid beside them.
    EXPECT_FALSE(s->tabRasch->isColumnHidden(0));
    const QStringList row = {"Колонна К-1", "1234,5", "1,5", "0", "0", "0,3333333333333333", "0,25", "10,25"};
    for (int c = 0; c < 8; ++c) {
        EXPECT_EQ(cellText(s->tabRasch, 1, c), row[c]) << c;
        EXPECT_EQ(s->tabRasch->isColumnHidden(c), c > 0) << c;
    }

    click(s->Command2);
    EXPECT_EQ(messages(), QStringList{"Ввод данных|Данный блок введен!!!"});
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Warning);
    EXPECT_EQ(s->rows().size(), 1);

    add(s, "Емкость");
    EXPECT_EQ(gridNames(s), (QStringList{"Колонна К-1", "Емкость"}));
    EXPECT_FALSE(s->Command3->isEnabled());
    selectRow(s, 1);
    EXPECT_TRUE(s->Command3->isEnabled());
    EXPECT_TRUE(s->Command4->isEnabled());
    click(s->Command4);
    EXPECT_EQ(gridNames(s), QStringList{"Емкость"});
    EXPECT_FALSE(s->Command3->isEnabled());
    selectRow(s, 1);
    click(s->Command3);
    EXPECT_FALSE(s->tabRasch->isVisible());
    EXPECT_TRUE(s->lblNoRows->isVisible());
    EXPECT_TRUE(s->rows().isEmpty());

    // The next row takes the first place again.
    add(s, "Емкость");
    EXPECT_EQ(gridNames(s), QStringList{"Емкость"});
    selectRow(s, 1);
    click(s->Command3);

    dialogs.clear();
    trigger(s, "mnuSave");
    EXPECT_EQ(messages(), QStringList{"Внимание!|Введите расчеты!"});
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Warning);
    EXPECT_TRUE(state.db().query("SELECT * FROM tabSumm_rasch").isEmpty());
    // Leaving asks nothing without rows.
    dialogs.clear();
    trigger(s, "mnuReturn");
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmLoad_Rasch"});
}

TEST_F(ModelIV, TheRunFollowsTheRoundedTntEquivalentAndTheBoundsOfTheMass)
{
    pool({plain("малый 1", 5e6, 0.03), plain("малый 2", 1e6, 0.01), plain("пять 1", 200e6, 100),
          plain("пять 2", 30e6, 0), plain("две", 92e6, 100)});
    auto* s = open(QStringLiteral("Границы"));
    ASSERT_NE(s, nullptr);
    const struct {
        QStringList rows;
        const char* m;
        const char* category;
        const char* Wt;
        const char* R1;
    } cases[] = {
        {{"малый 1", "малый 2"}, "130,4", "III", "0,0", "0"},
        {{"пять 1", "пять 2"}, "5000,0", "II", "100,0", "5,566"},
        {{"две"}, "2000,0", "II", "100,0", "5,566"},
    };
    int runs = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.m);
        while (!s->rows().isEmpty()) {
            selectRow(s, 1);
            click(s->Command3);
        }
        for (const QString& name : c.rows)
            add(s, name.toUtf8().constData());
        click(s->Command1);
        ++runs;
        EXPECT_EQ(s->m->text(), QLatin1String(c.m));
        EXPECT_EQ(s->Zn_kategor->text(), QLatin1String(c.category));
        EXPECT_EQ(s->Wt->text(), QString::fromUtf8(c.Wt));
        EXPECT_EQ(cellText(s->zones->tabZone, 1, 3), QString::fromUtf8(c.R1));
        EXPECT_EQ(s->lastRun()->result.formula, calc::RadiusFormula::Corrected22_1);
        EXPECT_EQ(journal().size(), runs);
    }
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
}

TEST_F(ModelIV, ThreeRowsRunToResultsAndZones)
{
    pool({block("Колонна К-1", 120e6, 2500.3), block("Емкость Е-2", 60e6, 1200.04), block("Насос Н-3", 15e6, 300.1)});
    auto* s = open(QStringLiteral("Установка первичной переработки"));
    ASSERT_NE(s, nullptr);
    for (const char* name : {"Колонна К-1", "Емкость Е-2", "Насос Н-3"})
        add(s, name);
    s->zones->txtP->setText(QStringLiteral("10"));
    trigger(s, "mnuRaschet");
    // E = 195 000 006,25 kJ; m = 4239,13 kg; Wt = 4000,44 shown as 4000,4.
    EXPECT_EQ(s->m->text(), QStringLiteral("4239,1"));
    EXPECT_EQ(s->Q->text(), QStringLiteral("35,1"));
    EXPECT_EQ(s->Wt->text(), QStringLiteral("4000,4"));
    EXPECT_EQ(s->Zn_kategor->text(), QStringLiteral("II"));
    EXPECT_EQ(s->lastRun()->result.Wt, 4000.4);
    EXPECT_EQ(cellText(s->zones->tabZone, 1, 3), QStringLiteral("55,595"));
    EXPECT_EQ(cellText(s->zones->tabZone, 6, 0), QStringLiteral("расчет для 10 кПа"));
    EXPECT_FALSE(s->zones->txtX->text().isEmpty());
    EXPECT_EQ(state.lastComplex->rows, s->rows());
    EXPECT_EQ(journal(), QStringList{"Комплексный|"});
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    selectRow(s, 2);
    test::snapshot(s, "frmOutput_KR");
    test::expectFitsTheDisplay(s);
}

TEST_F(ModelIV, SavedRowsComeBackWithAllEightValuesExactly)
{
    const QList<calc::BlockEnergies> entries = {block("Колонна К-1", 1e6 / 3, 0.1 + 0.2), block("Ёмкость", 2.5e-7, 7)};
    pool(entries);
    auto* s = open(QStringLiteral("Сохраняемый"));
    ASSERT_NE(s, nullptr);
    add(s, "Ёмкость");
    add(s, "Колонна К-1");
    trigger(s, "mnuSave");
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    EXPECT_EQ(s->statusBar()->currentMessage(), QStringLiteral("Комплексный расчет сохранен"));
    trigger(s, "mnuReturn");

    s = open(QStringLiteral("Сохраняемый"));
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(s->rows().size(), 2);
    EXPECT_EQ(s->rows()[0], entries[1]);
    EXPECT_EQ(s->rows()[1], entries[0]);
    const QStringList texts[] = {{"Ёмкость", "2,5E-07", "1,5", "0", "0", "0,3333333333333333", "0,25", "7"},
                                 {"Колонна К-1", "333333,3333333333", "1,5", "0", "0", "0,3333333333333333", "0,25",
                                  "0,30000000000000004"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 8; ++c)
            EXPECT_EQ(cellText(s->tabRasch, r + 1, c), texts[r][c]) << r << ":" << c;

    // Leaving with Да saves what the grid holds now.
    selectRow(s, 1);
    click(s->Command3);
    dialogs.answers = {ui::Answer::Yes};
    trigger(s, "mnuReturn");
    test::expectAsked(dialogs);
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmLoad_Rasch"});
    const auto stored = records::findByName(state.db(), QStringLiteral("Сохраняемый"), records::Kind::Complex);
    ASSERT_TRUE(stored);
    EXPECT_EQ(records::openComplexRows(state.db(), stored->id), QList<calc::BlockEnergies>{entries[0]});
}

// The question on leaving is asked only while the rows differ from the stored ones.
TEST_F(ModelIV, LeavingAsksOnlyForRowsThatAreNotStored)
{
    pool({block("Колонна", 1e6, 10), block("Емкость", 2e6, 20)});
    test::LeaveCase c;
    c.open = [&] { return open(QStringLiteral("Установка")); };
    c.change = [](ui::Screen* s, int edit) { add(static_cast<frmOutput_KR*>(s), edit == 1 ? "Колонна" : "Емкость"); };
    c.save = [&](ui::Screen* s) { trigger(s, "mnuSave"); };
    c.leave = [&](ui::Screen* s) { trigger(s, "mnuReturn"); };
    c.stored = [&] {
        QStringList names;
        for (const auto& r : records::openComplexRows(state.db(), state.current.id))
            names << r.pName;
        return names.join(',');
    };
    test::expectLeaveQuestion(dialogs, c);
    EXPECT_EQ(c.stored(), QStringLiteral("Колонна,Емкость"));

    // A run changes no row: right after a save it asks nothing either.
    auto* s = open(QStringLiteral("Установка"));
    ASSERT_NE(s, nullptr);
    click(s->Command1);
    dialogs.clear();
    trigger(s, "mnuReturn");
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ModelIV, ASaveThatFailsHalfWayIsReportedAndLosesNothing)
{
    pool({block("первый", 1, 1), block("второй", 2, 2)});
    auto* s = open(QStringLiteral("Прерванный"));
    ASSERT_NE(s, nullptr);
    add(s, "первый");
    trigger(s, "mnuSave");
    add(s, "второй");
    test::refuse(state.db(), "stop_rows", "INSERT", "tabSumm_rasch", "NEW.pName = 'второй'");
    trigger(s, "mnuSave");
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].startsWith(QStringLiteral("Внимание!|")));
    EXPECT_TRUE(messages()[0].endsWith(QStringLiteral("Строки комплексного расчета не сохранены.")));
    const QList<calc::BlockEnergies> stored = records::openComplexRows(state.db(), state.current.id);
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].pName, QStringLiteral("первый"));

    // Leaving with Yes and a failing save stays on the screen with the rows.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    trigger(s, "mnuReturn");
    EXPECT_TRUE(s->isVisible());
    EXPECT_EQ(s->rows().size(), 2);
    test::dropRefusal(state.db(), "stop_rows", "tabSumm_rasch");
    dialogs.clear();
    trigger(s, "mnuSave");
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(records::openComplexRows(state.db(), state.current.id).size(), 2);
}

TEST_F(ModelIV, BothDeletionsAskFirst)
{
    pool({block("Колонна", 1e6, 10), block("Емкость", 2e6, 20)});
    auto* s = open(QStringLiteral("Удаляемый"));
    ASSERT_NE(s, nullptr);
    add(s, "Колонна");
    trigger(s, "mnuSave");
    trigger(s, "mnuRaschet");
    ASSERT_TRUE(s->Frame1->isVisible());

    // The pool entry: No keeps it, Yes deletes it; the row copied from it stays.
    s->Combo1->setCurrentIndex(s->Combo1->findText("Колонна"));
    dialogs.answers = {ui::Answer::No};
    click(s->Command6);
    EXPECT_EQ(dialogs.last()->title, kQuestion);
    EXPECT_EQ(dialogs.last()->text, QStringLiteral("Удаленные данные будут утеряны! Продолжить?"));
    EXPECT_EQ(records::listPool(state.db()).size(), 2);
    dialogs.answers = {ui::Answer::Yes};
    click(s->Command6);
    EXPECT_EQ(records::listPool(state.db()).size(), 1);
    EXPECT_EQ(s->Combo1->count(), 2);
    EXPECT_EQ(s->Combo1->currentIndex(), 0);
    EXPECT_FALSE(s->Command2->isEnabled());
    EXPECT_FALSE(s->Command6->isEnabled());
    EXPECT_FALSE(s->Frame1->isVisible());
    EXPECT_EQ(gridNames(s), QStringList{"Колонна"});

    // The calculation: No keeps it, Yes deletes it with its rows.
    const int id = state.current.id;
    dialogs.answers = {ui::Answer::No};
    trigger(s, "mnuDelete");
    EXPECT_TRUE(records::findById(state.db(), id, records::Kind::Complex));
    EXPECT_TRUE(s->isVisible());
    dialogs.answers = {ui::Answer::Yes};
    trigger(s, "mnuDelete");
    EXPECT_EQ(dialogs.last()->text, QStringLiteral("Удаленные данные будут утеряны! Продолжить?"));
    EXPECT_FALSE(records::findById(state.db(), id, records::Kind::Complex));
    EXPECT_TRUE(state.db().query("SELECT * FROM tabSumm_rasch").isEmpty());
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmLoad_Rasch"});
}

TEST_F(ModelIV, ReportCarriesTheRunWithItsRowsAndTheCalculator)
{
    pool({block("Колонна К-1", 120e6, 2500.3), block("Емкость Е-2", 60e6, 1200.04)});
    auto* s = open(QStringLiteral("Отчет"));
    ASSERT_NE(s, nullptr);
    add(s, "Колонна К-1");
    click(s->Command1);
    // A row added after the run is not part of it.
    add(s, "Емкость Е-2");

    const records::Signature signature = rememberASignature();
    const QString path = data.file("kr.docx");
    dialogs.files = {path};
    trigger(s, "mnuWord");
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    EXPECT_TRUE(s->isVisible());
    const auto doc = docx::Document::open(path);
    expectSignedBy(doc, signature);
    // The calculation is named on the screen and in the report.
    EXPECT_EQ(s->lblName->text(), QStringLiteral("Наименование расчета: Отчет"));
    EXPECT_EQ(doc.bookmarkText("mName"), QStringLiteral("Наименование расчета: Отчет"));
    EXPECT_EQ(doc.bookmarkText("Wt"), s->Wt->text());
    EXPECT_EQ(doc.bookmarkText("Kategor"), QStringLiteral("II"));
    EXPECT_EQ(doc.bookmarkText("mR1"), cellText(s->zones->tabZone, 1, 3));
    EXPECT_EQ(doc.bookmarkText("mR6_inf"), QStringLiteral("расчет для 5 кПа"));
    EXPECT_EQ(doc.bookmarkText("mR6_R"), s->zones->txtX->text());
    const QString rows = doc.bookmarkText("Begin1");
    EXPECT_TRUE(rows.contains(QStringLiteral("Колонна К-1")));
    EXPECT_FALSE(rows.contains(QStringLiteral("Емкость Е-2")));
    // The map of the zones the screen shows, the calculator's zone included,
    // on a page of its own, large enough to name the class of every zone.
    auto* map = s->findChild<screens::ZoneMap*>("ZoneMap");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(s->SSTab1->tabText(1), QStringLiteral("Карта зон разрушения"));
    EXPECT_TRUE(s->SSTab1->widget(1)->isAncestorOf(map));
    s->SSTab1->setCurrentIndex(1);
    test::settle();
    EXPECT_GE(map->width(), 1000);
    const auto legend = map->currentLayout().legend;
    ASSERT_EQ(legend.size(), 6u);
    EXPECT_TRUE(legend[0].text.contains(QStringLiteral("зона полного разрушения"))) << legend[0].text.toStdString();
    ASSERT_TRUE(map->currentLayout().calculator);
    EXPECT_EQ(map->currentLayout().calculator->metres, s->zones->overpressure()->radius);
    EXPECT_EQ(docx::Package::read(path, QStringLiteral("отчет")).part("word/media/image1.png"),
              report::zoneMapPng(*s->zones->mapData()));
}
