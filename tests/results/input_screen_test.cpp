// The run request, the z dialog and the settings driven from the real input screen.
#include "results/results_fixture.h"

#include "calc/engine.h"
#include "records/calculations.h"
#include "records/calculation_inputs.h"
#include "records/store_reference.h"
#include "report/format.h"
#include "screens/frmDolya_z.h"
#include "screens/frmInput.h"
#include "screens/frmOutput.h"
#include "screens/frmSetup.h"
#include "screens/frmSetup_rasch.h"
#include "screens/run_request.h"
#include "screens/settings_panel.h"
#include "screens/form_widgets.h"
#include "ui/numeric_edit.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace veltron;
using report::FormatResult;
using screens::frmInput;
using screens::frmOutput;

namespace {

class FromInputScreen : public test::ScreenFixture {
protected:
    void SetUp() override
    {
        ScreenFixture::SetUp();
        input = new frmInput(state);
        input->show();
        test::settle();
        dialogs.clear();
    }
    frmInput* input = nullptr;
};

}  // namespace

TEST_F(FromInputScreen, RunShowsWhatTheHeadlessRunOfTheStoredCalculationGives)
{
    // The screen hands over exactly what the headless run loads.
    const auto calc = records::findById(state.db(), 1);
    ASSERT_TRUE(calc.has_value());
    const auto loaded = records::loadRunnableInputs(state.db(), *calc);
    ASSERT_TRUE(std::holds_alternative<records::CalculationInputs>(loaded));
    EXPECT_TRUE(input->inputs() == std::get<records::CalculationInputs>(loaded));

    ASSERT_TRUE(input->Command3->isEnabled());
    dialogs.answers = {ui::Answer::Yes, ui::Answer::Yes};
    click(input->Command3);
    test::settle();
    auto* dlg = test::visible<screens::frmSetup_rasch>("frmSetup_rasch");
    ASSERT_NE(dlg, nullptr) << messages().join("\n").toStdString();
    EXPECT_EQ(messages().first(),
              QStringLiteral("В н и м а н и е ! ! !|Сохранить исходные данные для текущего расчета?"));
    click(dlg->Command1);
    test::settle();
    auto* out = test::visible<frmOutput>("frmOutput");
    ASSERT_NE(out, nullptr) << messages().join("\n").toStdString();
    EXPECT_FALSE(input->isVisible());

    const records::StoreReference reference(state.db());
    const auto outcome = records::runLoaded(loaded, reference);
    ASSERT_TRUE(calc::succeeded(outcome));
    const auto& r = std::get<calc::RaschResult>(outcome);
    EXPECT_EQ(out->A->text(), FormatResult(r.A));
    EXPECT_EQ(out->E11->text(), FormatResult(r.E11));
    EXPECT_EQ(out->E21->text(), FormatResult(r.E21));
    EXPECT_EQ(out->E24->text(), FormatResult(r.E24));
    EXPECT_EQ(out->m->text(), FormatResult(r.m));
    EXPECT_EQ(out->Wt->text(), FormatResult(r.Wt));
    EXPECT_EQ(out->Zn_kategor->text(), r.Zn_kategor);
    EXPECT_EQ(out->LTempv->text(), input->LTempv->text());
    EXPECT_EQ(out->Type->text(), input->Combo4->currentText());
    EXPECT_EQ(out->lblName->text(), QStringLiteral("Наименование расчета: ") + calc->name);

    trigger(out, "mnuReturn");
    test::settle();
    EXPECT_TRUE(input->isVisible());
}

TEST_F(FromInputScreen, ZDialogStartsFromTheCalculationsZAndReturnsIntoZet)
{
    input->Zet->setText("0,05");
    click(input->Command2);
    test::settle();
    auto* d = test::visible<screens::frmDolya_z>("frmDolya_z");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Zet->text(), QStringLiteral("0,05"));
    d->Zet->setText("1,5");
    trigger(d, "mnuPred");
    test::settle();
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(input->Zet->text(), QStringLiteral("1"));
}

TEST_F(FromInputScreen, SettingsScreenFromTheMenuStoresAndReturns)
{
    input->mnuSetup->trigger();
    test::settle();
    auto* s = test::visible<screens::frmSetup>("frmSetup");
    ASSERT_NE(s, nullptr);
    s->panel->Option2->click();
    click(s->Command1);
    test::settle();
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(state.db().query("select A from tabMain where Id=1").first().value(0).toInt(), 1);
    EXPECT_EQ(state.runSettings.A, 1);
}

TEST_F(FromInputScreen, OpeningTakesTheStoredSettingsButThePressureFormula)
{
    state.db().exec("update tabMain set A=1, G=1, Pn=3, G4=1, znG4=9.5 where Id=1");
    state.runSettings.Pn = 2;
    state.settingsConfirmed = true;
    auto* again = new frmInput(state);
    EXPECT_EQ(state.runSettings.A, 1);
    EXPECT_EQ(state.runSettings.G, 1);
    EXPECT_TRUE(state.runSettings.G4);
    EXPECT_EQ(state.runSettings.znG4, 9.5);
    EXPECT_EQ(state.runSettings.Pn, 2);
    EXPECT_FALSE(state.settingsConfirmed);
    EXPECT_EQ(again->inputs().settings, state.runSettings);
}
