#include "results/fake_input.h"
#include "results/results_fixture.h"

#include "calc/engine.h"
#include "report/docx/document.h"
#include "report/docx/package.h"
#include "report/zone_map.h"
#include "report/format.h"
#include "report/main_report.h"
#include "report/result_captions.h"
#include "screens/frmOutput.h"
#include "screens/frmSave_KR.h"
#include "screens/frmSetup_rasch.h"
#include "screens/run_request.h"
#include "screens/settings_panel.h"
#include "screens/form_widgets.h"
#include "screens/zone_map.h"
#include "screens/zone_results.h"

#include <gtest/gtest-spi.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableWidget>

using namespace veltron;
using report::FormatDetail;
using report::FormatResult;
using screens::cellText;
using screens::frmOutput;
using screens::RunRequest;

namespace {

const QString kSaveQuestion = QStringLiteral("В н и м а н и е ! ! !|Сохранить исходные данные для текщуго расчета?");
const QString kConfirm = QStringLiteral(
    "В н и м а н и е ! ! !|Не правильно введенные данные и выбранные расчетные формулы могут привести к ошибке в "
    "расчете! Произвести расчет?");

class Run : public test::ScreenFixture {
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        input = new test::FakeInput(state);
        request = new RunRequest(state, *input);
        input->show();
    }

    int journalRows() const { return int(state.db().query("select * from tabOtchet").size()); }

    // Confirms the settings dialog the request opened.
    void confirmSettings()
    {
        auto* dlg = qobject_cast<screens::frmSetup_rasch*>(request->settingsDialog());
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(dlg->isVisible());
        click(dlg->Command1);
        test::settle();
    }

    // A complete first request: save question, settings dialog, confirmation, run.
    frmOutput* runToResults()
    {
        dialogs.answers = {ui::Answer::Yes, ui::Answer::Yes};
        request->request();
        confirmSettings();
        test::settle();
        return test::visible<frmOutput>("frmOutput");
    }

    test::FakeInput* input = nullptr;  // destroyed with the other windows
    RunRequest* request = nullptr;
};

}  // namespace

TEST_F(Run, FirstRequestAsksToSaveOpensTheSettingsAndConfirmingRunsAndShowsTheResults)
{
    const int before = journalRows();
    dialogs.answers = {ui::Answer::Yes, ui::Answer::Yes};
    request->request();
    EXPECT_EQ(messages(), QStringList{kSaveQuestion});
    EXPECT_EQ(input->saves, 1);
    EXPECT_EQ(journalRows(), before);
    EXPECT_TRUE(input->isVisible());

    confirmSettings();
    EXPECT_EQ(messages(), (QStringList{kSaveQuestion, kConfirm}));
    auto* out = test::visible<frmOutput>("frmOutput");
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(input->isVisible());
    EXPECT_FALSE(state.settingsConfirmed);
    EXPECT_EQ(journalRows(), before + 1);
    const auto last = state.db().query("select * from tabOtchet").last();
    EXPECT_EQ(last.value("Name_ob").toString(), state.current.name);
    EXPECT_EQ(last.value("Conc").toString(), QStringLiteral("Полный расчет"));

    ASSERT_TRUE(state.lastResult.has_value());
    const calc::RaschResult& r = *state.lastResult;
    EXPECT_GT(r.E, 0);
    const struct {
        QLineEdit* box;
        double value;
    } fields[] = {{out->A, r.A},     {out->E11, r.E11}, {out->E12, r.E12}, {out->E21, r.E21},
                  {out->E22, r.E22}, {out->E23, r.E23}, {out->E24, r.E24}, {out->m, r.m},
                  {out->Q, r.Q},     {out->Wt, r.Wt},   {out->txtPn, r.PnT}, {out->txtPn1, r.PnTr}};
    for (const auto& f : fields) {
        SCOPED_TRACE(f.box->objectName().toStdString());
        EXPECT_EQ(f.box->text(), FormatResult(f.value));
        EXPECT_FALSE(f.box->text().contains(QLatin1Char('.')));
    }
    EXPECT_EQ(out->G->text(), FormatResult(r.G));
    EXPECT_EQ(out->Zn_kategor->text(), r.Zn_kategor);
    EXPECT_EQ(out->Name_Vva->text(), QStringLiteral("Пропан"));
    EXPECT_EQ(out->Tepl_sgorGF->text(), FormatResult(r.subst.Tepl_sgorPGF - r.subst.Tepl_paroobr));
    EXPECT_EQ(out->Type->text(), QStringLiteral("Бетон"));
    EXPECT_EQ(out->t_kontakt->text(), QStringLiteral("3600"));
    EXPECT_EQ(out->LTempv->text(), QStringLiteral("Температура воздуха в окружающей среде, °C"));
    EXPECT_EQ(out->Label5->text(), QStringLiteral("по расчетным значениям"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(cellText(out->tabZone, i + 1, 3), FormatResult(r.Rzone[std::size_t(i)]));

    // One adjacent block (number 2) in every detail grid.
    ASSERT_EQ(r.adjacent.size(), 1u);
    const calc::AdjacentResult& a = r.adjacent[0];
    ASSERT_EQ(out->tabE2->rowCount(), 5);
    const QStringList e2[] = {{"2", "w'", FormatDetail(a.w12)},
                              {"", "G'", FormatDetail(a.g12)},
                              {"", "Е2'", FormatDetail(a.e12)},
                              {"Общая", "Е2'", FormatDetail(r.E12)}};
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(cellText(out->tabE2, row + 1, col), e2[row][col]) << row << "," << col;
    ASSERT_EQ(out->tabE1->rowCount(), 7);
    const QStringList e1[] = {{"1", "G\"", FormatDetail(r.Ggf)},   {"", "Е1\"", FormatDetail(r.E21own)},
                              {"2", "w\"", FormatDetail(a.w21)},    {"", "G\"", FormatDetail(a.g21)},
                              {"", "E1\"", FormatDetail(a.e21)},    {"Общая", "Е1\"", FormatDetail(r.E21)}};
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 3; ++col)
            EXPECT_EQ(cellText(out->tabE1, row + 1, col), e1[row][col]) << row << "," << col;
    // The Latin E of an adjacent block's E1" and the Cyrillic Е of the others.
    EXPECT_EQ(cellText(out->tabE1, 5, 1).at(0), QChar(u'E'));
    EXPECT_EQ(cellText(out->tabE1, 6, 1).at(0), QChar(u'Е'));
    EXPECT_EQ(out->tabE22->rowCount(), 3);
    EXPECT_EQ(cellText(out->tabE22, 1, 1), QStringLiteral("Е2\""));
    EXPECT_EQ(cellText(out->tabE23, 2, 0), QStringLiteral("Общая"));
    EXPECT_EQ(cellText(out->tabE23, 2, 2), FormatDetail(r.E23));

    // Blocks page: the calculated block and the adjacent one, as stored.
    EXPECT_EQ(cellText(out->tabBlok, 1, 1), QStringLiteral("Пропан"));
    EXPECT_EQ(cellText(out->tabBlok, 1, 4), QStringLiteral("0,84"));
    EXPECT_FALSE(out->Frame4->isHidden());
    EXPECT_TRUE(out->Label1->isHidden());
    EXPECT_EQ(cellText(out->tabBlok_smeg, 1, 0), QStringLiteral("2"));
    EXPECT_EQ(cellText(out->tabBlok_smeg, 1, 10), QStringLiteral("0,005"));
    EXPECT_TRUE(out->tabBlok_smeg->isColumnHidden(17));
    EXPECT_FALSE(out->tabBlok->isColumnHidden(3));
    EXPECT_TRUE(out->tabBlok->isColumnHidden(9));

    // Every tab control opens on its first page.
    EXPECT_EQ(out->SSTab1->currentIndex(), 0);
    EXPECT_EQ(out->tabE->currentIndex(), 0);

    // The overpressure calculator ran when the screen was shown.
    EXPECT_EQ(cellText(out->tabZone, 6, 0), QStringLiteral("расчет для 5 кПа"));
    EXPECT_EQ(cellText(out->tabZone, 6, 1), QStringLiteral("48,4"));
    EXPECT_EQ(out->txtX->text(), report::formatPattern(r.R0 * report::overpressureK(5), "0.00"));

    out->SSTab1->setCurrentIndex(1);
    test::snapshot(out, "frmOutput_results");
    out->SSTab4->setCurrentIndex(1);
    test::snapshot(out, "frmOutput_details");
    out->SSTab1->setCurrentIndex(0);
    test::snapshot(out, "frmOutput_general");
    out->SSTab2->setCurrentIndex(1);
    test::snapshot(out, "frmOutput_blocks");

    // "<<Назад" destroys the results screen and shows the input screen.
    trigger(out, "mnuReturn");
    test::settle();
    EXPECT_EQ(test::visibleScreen("frmOutput"), nullptr);
    EXPECT_TRUE(input->isVisible());

    // A second request after a run starts again with the save question.
    dialogs.clear();
    dialogs.answers = {ui::Answer::No};
    request->request();
    EXPECT_EQ(messages(), QStringList{kSaveQuestion});
    EXPECT_EQ(input->saves, 1);
    ASSERT_NE(request->settingsDialog(), nullptr);
    // Closing the settings dialog requests nothing.
    qobject_cast<QDialog*>(request->settingsDialog())->reject();
    test::settle();
    EXPECT_EQ(messages(), QStringList{kSaveQuestion});
    EXPECT_FALSE(state.settingsConfirmed);
}

// A question of a real screen that the test did not script fails the test.
TEST_F(Run, AnUnscriptedQuestionFailsTheTest)
{
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        request->request();
    }
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures.GetTestPartResult(0).nonfatally_failed());
    EXPECT_TRUE(QString::fromUtf8(failures.GetTestPartResult(0).message())
                    .contains(QStringLiteral("unscripted question «В н и м а н и е ! ! !»: Сохранить исходные данные")));
    EXPECT_EQ(input->saves, 0);  // answered No
}

TEST_F(Run, StoppedRunKeepsTheInputScreenAndTheNextRequestGoesStraightToTheConfirmation)
{
    state.db().exec("update tabBloki set Adiab=1 where Id_Rasch=1 and Id=1");
    const int before = journalRows();
    dialogs.answers = {ui::Answer::Yes, ui::Answer::Yes};
    request->request();
    confirmSettings();
    EXPECT_EQ(messages().last(), QStringLiteral("Внимание!|Показатель адиабаты вещества в блоке должен быть > 1!"));
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(test::visibleScreen("frmOutput"), nullptr);
    EXPECT_FALSE(state.lastResult.has_value());
    EXPECT_EQ(journalRows(), before);
    EXPECT_TRUE(state.settingsConfirmed);

    state.db().exec("update tabBloki set Adiab=1.13 where Id_Rasch=1 and Id=1");
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    request->request();
    EXPECT_EQ(messages(), QStringList{kConfirm});
    EXPECT_NE(test::visible<frmOutput>("frmOutput"), nullptr);
}

TEST_F(Run, ChecksOfTheInputScreenComeFirst)
{
    const struct {
        const char* what;
        std::function<void(records::ConditionTexts&)> change;
        QString message;
        ui::Icon icon;
    } cases[] = {
        {"z is 0", [](auto& c) { c.Zet = "0"; },
         "В н и м а н и е ! ! !|Уточните долю приведенной массы парогазовых веществ участвующих во взрыве; z=?",
         ui::Icon::None},
        {"13.1 without a mirror",
         [](auto& c) {
             c.Check1 = true;
             c.S_G = "0";
         },
         "Внимание!|При выборе \"использовать значение площадь поверхности зеркала жидкости для проведения "
         "экспертных оценок по ПБ 09-540-03 формула 13.1\" необходимо ввести площадь поверхности зеркала жидкости!",
         ui::Icon::Critical},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto* in = new test::FakeInput(state);
        auto* rr = new RunRequest(state, *in);
        c.change(in->value.conditions);
        dialogs.clear();
        rr->request();
        EXPECT_EQ(messages(), QStringList{c.message});
        EXPECT_EQ(dialogs.last()->icon, c.icon);
        EXPECT_EQ(rr->settingsDialog(), nullptr);
    }
    // "0,0" is not the text "0": z passes to the question.
    input->value.conditions.Zet = "0,0";
    dialogs.answers = {ui::Answer::No};
    request->request();
    EXPECT_EQ(messages().last(), kSaveQuestion);
}

TEST_F(Run, AnsweringNoKeepsTheInputScreenAndClearsTheConfirmation)
{
    dialogs.answers = {ui::Answer::No, ui::Answer::No};
    request->request();
    confirmSettings();
    EXPECT_EQ(messages(), (QStringList{kSaveQuestion, kConfirm}));
    EXPECT_FALSE(state.settingsConfirmed);
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(test::visibleScreen("frmOutput"), nullptr);
    EXPECT_EQ(input->saves, 0);
}

TEST_F(Run, AFieldThatIsNotANumberStopsTheRequestWithItsName)
{
    input->value.conditions.txtNyu = "abc";
    dialogs.answers = {ui::Answer::Yes, ui::Answer::Yes};
    request->request();
    confirmSettings();
    ASSERT_FALSE(dialogs.calls.empty());
    EXPECT_EQ(dialogs.last()->title, QStringLiteral("Ввод данных"));
    EXPECT_TRUE(dialogs.last()->text.contains(QStringLiteral("Коэффициент интенсивности испарения")));
    EXPECT_EQ(input->focused, records::ConditionField::txtNyu);
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(test::visibleScreen("frmOutput"), nullptr);
}

TEST_F(Run, WithoutAdjacentBlocksTheFrameHidesAndTheDetailGridsKeepTheirTotalRows)
{
    state.db().exec("delete from tabBloki where Id_Rasch=1 and Id<>1");
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    EXPECT_TRUE(out->Frame4->isHidden());
    EXPECT_FALSE(out->Label1->isHidden());
    EXPECT_EQ(out->tabE2->rowCount(), 2);
    EXPECT_EQ(cellText(out->tabE2, 1, 0), QStringLiteral("Общая"));
    EXPECT_EQ(out->tabE22->rowCount(), 2);
    EXPECT_EQ(out->tabE23->rowCount(), 2);
    EXPECT_EQ(out->tabE1->rowCount(), 4);
    EXPECT_EQ(cellText(out->tabE1, 1, 0), QStringLiteral("1"));
    EXPECT_EQ(cellText(out->tabE1, 3, 0), QStringLiteral("Общая"));
    EXPECT_EQ(out->E12->text(), QStringLiteral("0"));
    EXPECT_TRUE(out->lblPnNote->isHidden()) << "propane is above its boiling point";
}

// A tank of hexane at 20 °C with formula 14.2: the results page says, under
// E4'', why the evaporation into the air is 0, instead of a silent 0.
TEST_F(Run, BelowTheBoilingPointFormula142IsExplainedWhereTheSpillEnergyIsShown)
{
    state.db().exec("delete from tabBloki where Id_Rasch=1 and Id<>1");
    state.db().exec("update tabBloki set Name='н-Гексан', Temp=20, Davl=0.1013, Adiab=1.06, Plotn_GF=659 "
                    "where Id_Rasch=1 and Id=1");
    state.db().exec("update tabMain set Pn=1 where Id=1");
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(out->lblPnNote->isHidden());
    EXPECT_TRUE(out->lblPnNote->text().startsWith(QStringLiteral(
        "Давление насыщенного пара при расчетной температуре 20 °C не определено: формула 14.2 дает его только "
        "выше температуры кипения вещества (68,7 °C).")))
        << out->lblPnNote->text().toStdString();
    EXPECT_TRUE(out->lblPnNote->text().contains(QStringLiteral("формула 14.3 или формула Антуана")));
    EXPECT_EQ(out->E24->text(), QStringLiteral("0"));
    out->SSTab1->setCurrentIndex(1);
    test::snapshot(out, QStringLiteral("frmOutput-pressure-note"));
}

TEST_F(Run, AVapourMassEnteredByHandShowsItsColumnAndTheManualMark)
{
    state.db().exec("update tabBloki set G1=1, znG1=12.5 where Id_Rasch=1 and Id=1");
    state.db().exec("update tabBloki set Name=? where Id_Rasch=1 and Id=1", {QString(50, u'П')});
    state.db().exec("insert into SubstChar (Name, Mol_massa, T_kip, Tepl_sgorPGF, Tepl_paroobr, Teploem_GF) "
                    "select ?, Mol_massa, T_kip, Tepl_sgorPGF, Tepl_paroobr, Teploem_GF from SubstChar "
                    "where Name='Пропан'",
                    {QString(50, u'П')});
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->G->text(), QStringLiteral("12,500 (вручную)"));
    EXPECT_TRUE(out->tabBlok->isColumnHidden(3));
    EXPECT_TRUE(out->tabBlok->isColumnHidden(7));
    EXPECT_FALSE(out->tabBlok->isColumnHidden(9));
    EXPECT_EQ(cellText(out->tabBlok, 1, 9), QStringLiteral("12,5"));
    // A 50-character substance name takes three lines.
    EXPECT_GE(out->tabBlok->rowHeight(1), 3 * out->tabBlok->fontMetrics().lineSpacing());
}

TEST_F(Run, OverpressureCalculator)
{
    const struct {
        const char* typed;
        double K;
        const char* shownP;
        bool message;
    } cases[] = {
        {"5", 48.39797258, "5", false},     {"28", 9.6, "28", false},     {"28,1", 10.15253, "28,1", false},
        {"90", 4.568997, "90", false},      {"90,1", 4.394, "90,1", false}, {"150", 3.8, "100", true},
        {"1", 56, "2", true},               {"100", 3.8, "100", false},   {"70", 5.6, "70", false},
        {"14", 28, "14", false},            {"2", 56, "2", false},
    };
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    const double R0 = state.lastResult->R0;
    ASSERT_GT(R0, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.clear();
        out->txtP->setText(QString::fromUtf8(c.typed));
        click(out->Command2);
        EXPECT_NEAR(out->overpressure().K, c.K, 5e-6);
        EXPECT_EQ(out->txtP->text(), QString::fromUtf8(c.shownP));
        EXPECT_EQ(out->txtX->text(), report::formatPattern(R0 * out->overpressure().K, "0.00"));
        EXPECT_EQ(cellText(out->tabZone, 6, 0), QStringLiteral("расчет для %1 кПа").arg(c.shownP));
        EXPECT_EQ(cellText(out->tabZone, 6, 2), QString::fromUtf8(c.shownP));
        EXPECT_EQ(cellText(out->tabZone, 6, 3), out->txtX->text());
        // The map beside the grid draws the calculator's zone.
        const auto drawn = out->zones->map->currentLayout().calculator;
        ASSERT_TRUE(drawn);
        EXPECT_EQ(drawn->metres, out->overpressure().radius);
        if (c.message) {
            ASSERT_EQ(dialogs.calls.size(), 1u);
            EXPECT_EQ(messages().first(),
                      QStringLiteral("Внимание!!!|Апроксимация работает для интервала давлений от 2кПа до 100кПа"));
            EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
        } else {
            EXPECT_TRUE(dialogs.calls.empty());
        }
    }
    EXPECT_EQ(report::overpressureK(28), 9.6);
    EXPECT_EQ(report::overpressureK(5), (49 + (-0.0002489065 * 125 + 0.0497560912 * 25 - 3.0677837568 * 5 +
                                                61.9220749902)) / 2);

    // Not a number: refused, the previous result stays.
    const QString before = out->txtX->text();
    out->txtP->setText("abc");
    dialogs.clear();
    EXPECT_FALSE(out->calculateOverpressure());
    EXPECT_EQ(messages(), QStringList{"Ввод данных|Проверте правильность ввода"});
    EXPECT_EQ(out->txtX->text(), before);
}

TEST_F(Run, HandOverAddsANamedEntryToThePoolAndRefusesANameAlreadyThere)
{
    state.db().exec("insert into tabKR (Id, pName, E11) values (7, 'Другой', 1)");
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    click(out->Command1);
    test::settle();
    auto* kr = test::visible<screens::frmSave_KR>("frmSave_KR");
    ASSERT_NE(kr, nullptr);
    EXPECT_FALSE(out->isVisible());
    EXPECT_EQ(kr->E11->text(), out->E11->text());
    EXPECT_EQ(kr->Wt->text(), out->Wt->text());
    // The calculation's name, cut to the 25 characters of a pool name.
    EXPECT_EQ(kr->txtName->text(), state.current.name.left(25));
    test::snapshot(kr, "frmSave_KR");

    // A name already in the pool, also with spaces around it.
    kr->txtName->setText(" Другой ");
    dialogs.clear();
    EXPECT_FALSE(kr->save());
    EXPECT_EQ(messages(), QStringList{"Внимание!|Данные с именем \"Другой\" уже сохранены для комплексного расчета. "
                                      "Введите другое имя."});
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
    EXPECT_TRUE(kr->isVisible());

    // Typing stops at 25 characters.
    kr->txtName->clear();
    for (QChar ch : QStringLiteral("Резервуар Е-1 склада сырья цеха 5")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(kr->txtName, &press);
    }
    EXPECT_EQ(kr->txtName->text(), QStringLiteral("Резервуар Е-1 склада сырь"));
    click(kr->Command1);
    test::settle();
    EXPECT_TRUE(out->isVisible());
    const auto rows = state.db().query("select * from tabKR where pName=?", {QStringLiteral("Резервуар Е-1 склада сырь")});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("Id").toInt(), 8);
    EXPECT_NEAR(rows[0].value("E11").toDouble(), state.lastResult->E11, 0.0005 + 1e-3 * std::abs(state.lastResult->E11));
    EXPECT_EQ(FormatResult(rows[0].value("Wt").toDouble()), out->Wt->text());

    // "Отмена" stores nothing.
    click(out->Command1);
    test::settle();
    kr = test::visible<screens::frmSave_KR>("frmSave_KR");
    ASSERT_NE(kr, nullptr);
    click(kr->Command2);
    test::settle();
    EXPECT_EQ(state.db().query("select * from tabKR").size(), 2);
    EXPECT_TRUE(out->isVisible());
}

TEST_F(Run, EveryStopOfTheRunShowsItsMessageAndNoResults)
{
    const struct {
        const char* change;
        const char* undo;
        QString message;
        bool journal;  // the run got past the main-block checks
    } cases[] = {
        {"update tabBloki set Adiab=0.9 where Id_Rasch=1 and Id=1",
         "update tabBloki set Adiab=1.13 where Id_Rasch=1 and Id=1",
         "Внимание!|Показатель адиабаты вещества в блоке должен быть > 1!", false},
        {"update tabBloki set Davl=0 where Id_Rasch=1 and Id=1", "update tabBloki set Davl=0.84 where Id_Rasch=1 and Id=1",
         "Внимание!|Давление в блоке должено быть > 0!", false},
        {"update SubstChar set Mol_massa=0 where Name='Пропан'",
         "update SubstChar set Mol_massa=44.097 where Name='Пропан'",
         "Внимание!|Молярная масса вещества в блоке должена быть > 0!", true},
        {"update tabBloki set Adiab=1 where Id_Rasch=1 and Id=2",
         "update tabBloki set Adiab=1.13 where Id_Rasch=1 and Id=2",
         "Внимание!|Показатель адиабаты веществ в блоках должен быть > 1!", true},
        {"update tabBloki set Davl=0.1 where Id_Rasch=1 and Id=2", "update tabBloki set Davl=1.6 where Id_Rasch=1 and Id=2",
         "В н и м а н и е ! ! !|Давление в смежном блоке меньше атмосферного (101.3 кПа).", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        state.db().exec(QString::fromUtf8(c.change));
        const int before = journalRows();
        state.settingsConfirmed = true;
        dialogs.clear();
        dialogs.answers = {ui::Answer::Yes};
        request->request();
        EXPECT_EQ(messages(), (QStringList{kConfirm, c.message}));
        EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
        EXPECT_EQ(journalRows(), before + (c.journal ? 1 : 0));
        EXPECT_TRUE(input->isVisible());
        EXPECT_EQ(test::visibleScreen("frmOutput"), nullptr);
        EXPECT_FALSE(state.lastResult.has_value());
        // A stopped run leaves the confirmation as it was.
        EXPECT_TRUE(state.settingsConfirmed);
        state.db().exec(QString::fromUtf8(c.undo));
    }
    // Each undo restores a complete run.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    request->request();
    EXPECT_NE(test::visible<frmOutput>("frmOutput"), nullptr);
}

TEST_F(Run, AppendixReportIsWrittenFromTheResultsScreenAndTheScreenComesBack)
{
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    const QString path = data.file("Приложение 3.docx");
    dialogs.clear();
    dialogs.files = {path};
    trigger(out, "mnuWord2");
    test::settle();
    EXPECT_TRUE(out->isVisible());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << messages().join("\n").toStdString();
    EXPECT_TRUE(f.read(2) == "PK");
    EXPECT_TRUE(messages().isEmpty()) << messages().join("\n").toStdString();
    // With the map of the zones the screen shows, its calculator's zone included.
    EXPECT_EQ(docx::Package::read(path, QStringLiteral("отчет")).part("word/media/image1.png"),
              report::zoneMapPng(*out->zones->mapData()));

    // A cancelled save dialog writes nothing and says so; the screen comes back.
    dialogs.clear();
    dialogs.files = {QString()};
    const int filesBefore = int(QDir(data.path()).entryList(QDir::Files).size());
    trigger(out, "mnuWord2");
    test::settle();
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Вельтрон|Ошибка в процессе сохранения файла")});
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
    EXPECT_EQ(int(QDir(data.path()).entryList(QDir::Files).size()), filesBefore);
    EXPECT_TRUE(out->isVisible());
}

// Scripted dialogs that note which windows are up when the save dialog opens.
class WatchingDialogs : public ui::ScriptedDialogs {
public:
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override
    {
        shownAtSave = test::visibleScreens();
        return ScriptedDialogs::saveFileName(title, folder, filter);
    }
    QStringList shownAtSave;
};

TEST_F(Run, MainReportIsWrittenFromTheResultsScreenThroughTheProgressWindow)
{
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    state.nyu = {0.5, 25};
    state.reportFolder = data.path();
    // The signature last chosen with this data folder ends the report.
    const records::Signature signature{QStringLiteral("Инженер"), QStringLiteral("Иванов И. И."), {}};
    ASSERT_TRUE(records::rememberSignature(state.dataDir, signature));
    const QString path = data.file("Приложение 2");
    {
        WatchingDialogs watching;
        watching.files = {path};
        trigger(out, "mnuWord1");
        test::settle();
        EXPECT_TRUE(watching.messages().isEmpty()) << watching.messages().join("\n").toStdString();
        ASSERT_EQ(watching.calls.size(), 1u);
        EXPECT_EQ(watching.calls[0].kind, QStringLiteral("save"));
        EXPECT_EQ(watching.calls[0].text, data.path() + QStringLiteral("|Документы (*.docx)"));
        EXPECT_TRUE(watching.shownAtSave.contains(QStringLiteral("frmSave_otchet")));
        EXPECT_FALSE(watching.shownAtSave.contains(QStringLiteral("frmOutput")));
    }
    ui::installDialogs(&dialogs);
    EXPECT_TRUE(out->isVisible());
    EXPECT_EQ(test::visibleScreen("frmSave_otchet"), nullptr);

    // What the screen shows, with the calculator's memory, is what was written.
    QFile f(path + QStringLiteral(".docx"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(),
              report::buildMainReport({out->inputs(), *state.lastResult, out->view(), state.nyu, signature}));
    const auto doc = docx::Document::open(path + QStringLiteral(".docx"));
    EXPECT_EQ(doc.bookmarkText("mtE11"), report::formatTwoOrZero(state.lastResult->E11));
    EXPECT_EQ(doc.bookmarkText("Name1"), cellText(out->tabBlok, 1, 0));
    EXPECT_EQ(doc.bookmarkText("mKateg"), out->Zn_kategor->text());
}

// The captions the main report repeats are those the results screen shows.
TEST_F(Run, ReportCaptionsAreTheScreenCaptions)
{
    auto* out = runToResults();
    ASSERT_NE(out, nullptr);
    const std::pair<const char*, QString> labels[] = {
        {"Lab8", report::captions::Lab8},
        {"Lab9", report::captions::Lab9},
        {"LName_Vva", report::captions::LName_Vva},
        {"LMol_massa", report::captions::LMol_massa},
        {"LT_kip", report::captions::LT_kip},
        {"LTepl_sgorGF", report::captions::LTepl_sgorGF},
        {"LTepl_sgorPGF", report::captions::LTepl_sgorPGF},
        {"LTepl_paroobr", report::captions::LTepl_paroobr},
        {"LTeploem_GF", report::captions::LTeploem_GF},
        {"Lt_kontakt", report::captions::Lt_kontakt},
        {"LType", report::captions::LType},
        {"LS_kontakt", report::captions::LS_kontakt},
        {"LS_G", report::captions::LS_G},
        {"LTempp", report::captions::LTempp},
        {"Label32", report::captions::Label32},
    };
    for (const auto& [name, caption] : labels) {
        auto* label = out->findChild<QLabel*>(QLatin1String(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), caption) << name;
    }
    for (int i = 0; i < 7; ++i) {
        auto* label = out->findChild<QLabel*>(QStringLiteral("La%1").arg(i + 1));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->text(), report::captions::La[std::size_t(i)]);
    }
}
