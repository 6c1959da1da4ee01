#include "results/results_fixture.h"

#include "screens/frmSetup.h"
#include "screens/frmSetup_rasch.h"
#include "screens/settings_panel.h"
#include "ui/numeric_edit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSqlRecord>

using namespace veltron;
using screens::frmSetup;
using screens::frmSetup_rasch;

namespace {

class Settings : public test::ScreenFixture {
protected:
    void store(const QString& assignments)
    {
        state.db().exec(QStringLiteral("update tabMain set %1 where Id=1").arg(assignments));
    }
    QSqlRecord row() const { return state.db().query(QStringLiteral("select * from tabMain where Id=1")).first(); }
};

}  // namespace

TEST_F(Settings, DialogLoadsTheStoredChoicesAndResetsAAndGOfTheRunSettings)
{
    store("A=1, G=1, Pn=3, Gs=1, znGs=7.5, G4=1, znG4=5");
    state.runSettings.A = 0;
    state.runSettings.G = 0;
    state.runSettings.Pn = 1;
    frmSetup_rasch dlg(state, false);
    ASSERT_TRUE(dlg.loaded());
    auto* p = dlg.panel;
    EXPECT_TRUE(p->Option2->isChecked());
    EXPECT_TRUE(p->Option4->isChecked());
    EXPECT_TRUE(p->Option7->isChecked());
    // A total mass entered wins over the single mass.
    EXPECT_TRUE(p->Check3->isChecked());
    EXPECT_FALSE(p->Check1->isChecked());
    EXPECT_FALSE(p->Check1->isEnabled());
    EXPECT_EQ(p->Gs->text(), QStringLiteral("7,5"));
    EXPECT_FALSE(p->Gs->isHidden());
    EXPECT_FALSE(p->Frame2->isEnabled());
    EXPECT_FALSE(p->Frame3->isEnabled());
    EXPECT_FALSE(p->OLE10->isHidden());
    EXPECT_TRUE(p->Label6->isHidden());
    EXPECT_FALSE(p->OLE2->isHidden());
    EXPECT_TRUE(p->OLE1->isHidden());

    // Opening alone sets A and G, not Pn; closing the window confirms nothing.
    EXPECT_EQ(state.runSettings.A, 1);
    EXPECT_EQ(state.runSettings.G, 1);
    EXPECT_EQ(state.runSettings.Pn, 1);
    QSignalSpy accepted(&dlg, &QDialog::accepted);
    dlg.open();
    dlg.reject();
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_FALSE(state.settingsConfirmed);
}

TEST_F(Settings, ConfirmingSetsTheRunSettingsWithTheHiddenPressureFrameStillCounting)
{
    store("Pn=3, G4=1, znG4=5, G5=0, znG5=9");
    frmSetup_rasch dlg(state, true);
    dlg.open();
    test::snapshot(&dlg, "frmSetup_rasch");
    auto* p = dlg.panel;
    EXPECT_TRUE(p->Frame3->isHidden());
    EXPECT_TRUE(p->Check1->isChecked());
    EXPECT_EQ(p->G4->text(), QStringLiteral("5"));
    EXPECT_EQ(p->G5->text(), QStringLiteral("0"));  // reset when not entered
    EXPECT_TRUE(p->G5->isHidden());

    test::ScreenFixture::click(p->Check2);
    EXPECT_FALSE(p->G5->isHidden());
    type(p->G5, "2.5");
    QSignalSpy accepted(&dlg, &QDialog::accepted);
    click(dlg.Command1);
    ASSERT_EQ(accepted.count(), 1);
    EXPECT_TRUE(state.settingsConfirmed);
    EXPECT_EQ(state.runSettings.Pn, 3);
    EXPECT_TRUE(state.runSettings.G4);
    EXPECT_EQ(state.runSettings.znG4, 5);
    EXPECT_TRUE(state.runSettings.G5);
    EXPECT_EQ(state.runSettings.znG5, 2.5);
    EXPECT_FALSE(state.runSettings.Gs);
    // Nothing is stored by the run settings dialog.
    EXPECT_EQ(row().value("G5").toInt(), 0);
}

TEST_F(Settings, TickingTheTotalClearsTheSingleMassesAndLocksTheFormulaFrames)
{
    frmSetup_rasch dlg(state, false);
    dlg.open();
    auto* p = dlg.panel;
    test::snapshot(&dlg, "frmSetup_rasch_all_frames");
    click(p->Check1);
    click(p->Check2);
    click(p->Check3);
    EXPECT_FALSE(p->Check1->isChecked());
    EXPECT_FALSE(p->Check2->isChecked());
    EXPECT_FALSE(p->Check1->isEnabled());
    EXPECT_FALSE(p->Frame2->isEnabled());
    EXPECT_FALSE(p->Frame3->isEnabled());
    EXPECT_TRUE(p->G4->isHidden());
    type(p->Gs, "12");
    dlg.confirm();
    EXPECT_TRUE(state.runSettings.Gs);
    EXPECT_EQ(state.runSettings.znGs, 12);
    EXPECT_FALSE(state.runSettings.G4);
    EXPECT_FALSE(state.runSettings.G5);
    EXPECT_EQ(state.runSettings.znG4, 0);

    click(p->Check3);
    EXPECT_TRUE(p->Check1->isEnabled());
    EXPECT_TRUE(p->Frame2->isEnabled());
    EXPECT_TRUE(p->Gs->isHidden());
}

TEST_F(Settings, AMassThatIsNotANumberIsRefusedAndTheDialogStays)
{
    frmSetup_rasch dlg(state, false);
    dlg.open();
    click(dlg.panel->Check1);
    dlg.panel->G4->setText(QStringLiteral("1,2,3"));
    dialogs.clear();
    QSignalSpy accepted(&dlg, &QDialog::accepted);
    dlg.confirm();
    EXPECT_EQ(accepted.count(), 0);
    EXPECT_FALSE(state.settingsConfirmed);
    EXPECT_TRUE(dlg.isVisible());
    ASSERT_FALSE(messages().isEmpty());
    EXPECT_TRUE(messages().last().startsWith(QStringLiteral("Ввод данных|Проверьте правильность ввода: в поле «известна ")))
        << messages().last().toStdString();
}

TEST_F(Settings, FormulaSixteenClearsTheSingleMassesOnlyOnTheSettingsScreen)
{
    frmSetup_rasch dlg(state, false);
    dlg.open();
    click(dlg.panel->Check1);
    click(dlg.panel->Option4);
    EXPECT_TRUE(dlg.panel->Check1->isChecked());
    EXPECT_TRUE(dlg.panel->Check1->isEnabled());
    EXPECT_FALSE(dlg.panel->Frame3->isEnabled());
    dlg.reject();

    QWidget input;
    auto* screen = new frmSetup(state, &input);
    screen->show();
    click(screen->panel->Check1);
    click(screen->panel->Option4);
    EXPECT_FALSE(screen->panel->Check1->isChecked());
    EXPECT_FALSE(screen->panel->Check1->isEnabled());
    EXPECT_FALSE(screen->panel->Check2->isEnabled());
    click(screen->panel->Option3);
    EXPECT_TRUE(screen->panel->Check1->isEnabled());
    EXPECT_TRUE(screen->panel->Frame3->isEnabled());
}

TEST_F(Settings, SettingsScreenStoresEveryFieldAndTheRunSettingsThenShowsTheInputScreen)
{
    QWidget input;
    input.setObjectName("frmInput");
    auto* screen = new frmSetup(state, &input);
    screen->show();
    auto* p = screen->panel;
    click(p->Option2);
    click(p->Option6);
    click(p->Check1);
    type(p->G4, "3,25");
    click(p->Check2);
    type(p->G5, "-1");
    click(screen->Command1);
    test::settle();
    EXPECT_TRUE(input.isVisible());
    EXPECT_EQ(test::visibleScreen("frmSetup"), nullptr);

    const QSqlRecord r = row();
    EXPECT_EQ(r.value("A").toInt(), 1);
    EXPECT_EQ(r.value("G").toInt(), 0);
    EXPECT_EQ(r.value("Pn").toInt(), 2);
    EXPECT_EQ(r.value("Gs").toInt(), 0);
    EXPECT_EQ(r.value("G4").toInt(), 1);
    EXPECT_EQ(r.value("znG4").toDouble(), 3.25);
    EXPECT_EQ(r.value("G5").toInt(), 1);
    EXPECT_EQ(r.value("znG5").toDouble(), -1);
    EXPECT_EQ(state.runSettings.A, 1);
    EXPECT_EQ(state.runSettings.Pn, 2);
    EXPECT_TRUE(state.runSettings.G4);
    EXPECT_EQ(state.runSettings.znG5, -1);
    EXPECT_FALSE(state.settingsConfirmed);

    // Reopening shows what was stored; "Отмена" writes nothing.
    auto* again = new frmSetup(state, &input);
    again->show();
    EXPECT_TRUE(again->panel->Option6->isChecked());
    EXPECT_EQ(again->panel->G4->text(), QStringLiteral("3,25"));
    click(again->panel->Option1);
    click(again->Command2);
    test::settle();
    EXPECT_EQ(row().value("A").toInt(), 1);
}

TEST_F(Settings, ChoosingFormulaSixteenNamesTheBoilingRangeItsTableStillInterpolates)
{
    // The shipped table: the rules' rows from 10 to 60 °C and the bound at -80 °C.
    state.db().exec(QStringLiteral("delete from tabG"));
    state.db().exec(QStringLiteral("insert into tabG (t, G) values (-80, 425), (10, 135), (25, 85), (40, 40), (60, 10)"));
    frmSetup_rasch dlg(state, false);
    dlg.open();
    dialogs.clear();
    click(dlg.panel->Option4);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].text, screens::SettingsPanel::incompleteTableNotice(QStringLiteral("от -80 до 10 °C")));
    EXPECT_TRUE(dialogs.calls[0].text.contains(QStringLiteral("для температуры кипения от -80 до 10 °C в ней нет")));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Information);
    EXPECT_TRUE(dlg.panel->Option4->isChecked());

    // Formula 12 says nothing; a table in bands of the rules says nothing either.
    click(dlg.panel->Option3);
    state.db().exec(QStringLiteral("insert into tabG (t, G) values (-5, 185), (-20, 235), (-35, 285), (-50, 335), (-65, 385)"));
    click(dlg.panel->Option4);
    EXPECT_EQ(dialogs.calls.size(), 1u);
    dlg.reject();
}

TEST(SettingsNotice, NamesEveryStretchWiderThanABandOfTheRulesTable)
{
    using screens::SettingsPanel;
    EXPECT_EQ(SettingsPanel::interpolatedRanges({-80, 60}), QStringLiteral("от -80 до 60 °C"));
    EXPECT_EQ(SettingsPanel::interpolatedRanges({-80, 10, 25, 40, 60}), QStringLiteral("от -80 до 10 °C"));
    EXPECT_EQ(SettingsPanel::interpolatedRanges({-100, -80, -60, -40, 0, 20, 40, 60, 100}),
              QStringLiteral("от -40 до 0 °C"));
    EXPECT_EQ(SettingsPanel::interpolatedRanges({-80, -70, -50, 30, 60}),
              QStringLiteral("от -50 до 30 °C и от 30 до 60 °C"));
    EXPECT_EQ(SettingsPanel::interpolatedRanges({-80, -60, -40, -20, 0, 20, 40, 60}), QString());
    EXPECT_EQ(SettingsPanel::interpolatedRanges({}), QString());
}
