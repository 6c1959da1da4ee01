// Model I on the test server, through the real screens: a calculation is
// created, saved, saved under another name, run and deleted; a lost
// connection and another user's change are reported and the screen stays.
#include "screens/screens_fixture.h"

#include "calc/engine.h"
#include "records/calculation_inputs.h"
#include "records/store_reference.h"
#include "report/format.h"
#include "screens/frmOutput.h"
#include "screens/frmSave.h"
#include "screens/frmSetup_rasch.h"

using namespace veltron;
using namespace veltron::test;
using screens::frmInput;

namespace {

class ServerWalk : public ModelIScreens {
protected:
    void SetUp() override
    {
        ModelIScreens::SetUp();
        ASSERT_FALSE(state.store->isEmbedded());
        // The run below has superheated liquid: it needs propane's boiling
        // point, heat of vaporisation and heat capacity.
        state.store->exec("UPDATE SubstChar SET T_kip = -42.1, Tepl_sgorPGF = 46350, Tepl_paroobr = 426, "
                          "Teploem_GF = 2.58 WHERE Name = ?",
                          {QStringLiteral("Пропан")});
    }
};

const QString kQuestion = QStringLiteral("В н и м а н и е ! ! !");

}  // namespace

TEST_F(ServerWalk, CalculationIsCreatedSavedUnderAnotherNameRunAndDeleted)
{
    frmInput* input = createCalculation(QStringLiteral("Цех 'А' — сервер"));
    ASSERT_NE(input, nullptr);
    const records::Calculation first = state.current;
    click(input->Command5);
    enterBlock(QStringLiteral("Резервуар Р-1"), QStringLiteral("Пропан"), QStringLiteral("42,5"), QStringLiteral("20"));
    click(editor()->Command1);
    input->S_G->setText(QStringLiteral("350,5"));
    input->S_kontakt->setText("400");
    input->t_kontakt->setText("1800");
    dialogs.clear();
    trigger(input, "mnuSave");
    EXPECT_TRUE(dialogs.calls.empty()) << dialogs.messages().join("\n").toStdString();
    EXPECT_EQ(records::loadConditions(*state.store, first.id)->S_G, 350.5);

    // Under another name: a new calculation with the screen's conditions and the blocks.
    dialogs.answers = {ui::Answer::Yes};
    trigger(input, "mnuSaveAs");
    auto* save = visible<screens::frmSave>("frmSave");
    ASSERT_NE(save, nullptr);
    save->txtRasch->setText(QStringLiteral("Цех 'Б' — копия"));
    click(save->Command1);
    input = visible<frmInput>("frmInput");
    ASSERT_NE(input, nullptr);
    const records::Calculation copy = state.current;
    EXPECT_NE(copy.id, first.id);
    EXPECT_EQ(input->Label18->text(), QStringLiteral("Цех 'Б' — копия"));
    EXPECT_EQ(input->S_G->text(), QStringLiteral("350,5"));
    EXPECT_EQ(records::blocksOf(*state.store, copy.id).size(), 1);
    EXPECT_TRUE(records::findById(*state.store, first.id));

    // A run shows what the headless run of the stored copy gives.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes, ui::Answer::Yes};
    click(input->Command3);
    auto* settings = visible<screens::frmSetup_rasch>("frmSetup_rasch");
    ASSERT_NE(settings, nullptr) << dialogs.messages().join("\n").toStdString();
    click(settings->Command1);
    auto* out = visible<screens::frmOutput>("frmOutput");
    ASSERT_NE(out, nullptr) << dialogs.messages().join("\n").toStdString();
    const records::StoreReference reference(*state.store);
    const auto outcome = records::runLoaded(records::loadRunnableInputs(*state.store, copy), reference);
    ASSERT_TRUE(calc::succeeded(outcome));
    const auto& r = std::get<calc::RaschResult>(outcome);
    EXPECT_EQ(out->E21->text(), report::FormatResult(r.E21));
    EXPECT_EQ(out->m->text(), report::FormatResult(r.m));
    EXPECT_EQ(out->Wt->text(), report::FormatResult(r.Wt));
    EXPECT_EQ(out->Zn_kategor->text(), r.Zn_kategor);
    EXPECT_EQ(state.store->query("SELECT Name_ob FROM tabOtchet").last().value(0).toString(), copy.name);
    trigger(out, "mnuReturn");
    ASSERT_TRUE(input->isVisible());

    // Deleting the copy leaves the first calculation.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    trigger(input, "mnuDelete");
    EXPECT_EQ(dialogs.messages(), QStringList{kQuestion + QStringLiteral("|Удаленные данные будут утеряны! Продолжить?")});
    EXPECT_EQ(visibleScreens(), QStringList{"frmLoad_Rasch"});
    EXPECT_FALSE(records::findById(*state.store, copy.id));
    EXPECT_TRUE(state.store->query("SELECT * FROM tabMain WHERE Id = ?", {copy.id}).isEmpty());
    EXPECT_TRUE(records::blocksOf(*state.store, copy.id).isEmpty());
    EXPECT_EQ(records::blocksOf(*state.store, first.id).size(), 1);
}

TEST_F(ServerWalk, LostConnectionAndAnotherUsersChangeAreReportedAndTheScreenStays)
{
    frmInput* input = createCalculation(QStringLiteral("Общий"));
    ASSERT_NE(input, nullptr);
    const int id = state.current.id;
    input->t_kontakt->setText("100");

    // The server drops the connection: a clear message, nothing saved, the screen stays.
    cutConnection(*state.store);
    dialogs.clear();
    trigger(input, "mnuSave");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(
        QStringLiteral("Связь с базой данных «%1» прервана").arg(serverDsn())))
        << dialogs.calls[0].text.toStdString();
    EXPECT_EQ(visibleScreens(), QStringList{"frmInput"});
    EXPECT_EQ(input->t_kontakt->text(), "100");
    // The next save connects again and stores.
    dialogs.clear();
    trigger(input, "mnuSave");
    EXPECT_TRUE(dialogs.calls.empty()) << dialogs.messages().join("\n").toStdString();
    EXPECT_EQ(records::loadConditions(*state.store, id)->t_kontakt, 100);

    // Another user saves the same calculation meanwhile: this save is refused.
    {
        auto other = openStore(folder);
        auto conditions = *records::loadConditions(*other, id);
        conditions.t_kontakt = 200;
        records::saveConditions(*other, id, conditions);
    }
    input->t_kontakt->setText("300");
    dialogs.clear();
    trigger(input, "mnuSave");
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.calls[0].text.startsWith(QStringLiteral("Расчет «Общий» изменил другой пользователь")))
        << dialogs.calls[0].text.toStdString();
    EXPECT_EQ(visibleScreens(), QStringList{"frmInput"});
    EXPECT_EQ(input->t_kontakt->text(), "300");
    EXPECT_EQ(records::loadConditions(*state.store, id)->t_kontakt, 200);
}
