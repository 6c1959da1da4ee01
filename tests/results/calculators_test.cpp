#include "results/fake_input.h"
#include "results/results_fixture.h"

#include "screens/frmDolya_z.h"
#include "screens/frmNyu.h"
#include "screens/frmPt.h"
#include "screens/frmBlok.h"
#include "screens/input_dialogs.h"
#include "screens/form_widgets.h"
#include "ui/numeric_edit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using namespace veltron;
using screens::frmDolya_z;
using screens::frmNyu;

namespace {

class ZDialog : public test::ScreenFixture {
protected:
    // Opens the dialog as the input screen does: show, then put the caller's z in.
    frmDolya_z* open(bool outdoors, const QString& z)
    {
        caller->hide();
        auto* d = new frmDolya_z(state, outdoors, caller, [this](const QString& t) { returned = t; });
        d->show();
        d->Zet->setText(z);
        return d;
    }
    QWidget* caller = new QWidget;  // destroyed with the other windows at tear-down
    std::optional<QString> returned;
};

const QString kBelow = QStringLiteral("Внимание!|Доля участия вещества во взрыве не может быть снижена ниже 0,02!");
const QString kAbove = QStringLiteral("Внимание!|Доля участия вещества во взрыве не может быть больше 1!");

}  // namespace

TEST_F(ZDialog, OutdoorsShowsTheCalculationsZWithTheFuelKindsHidden)
{
    auto* d = open(true, "0,05");
    EXPECT_TRUE(d->Option4->isChecked());
    EXPECT_FALSE(d->Option3->isEnabled());
    EXPECT_TRUE(d->Combo1->isHidden());
    EXPECT_TRUE(d->Command6->isHidden());
    EXPECT_TRUE(d->Frame2->isHidden());
    EXPECT_FALSE(d->Frame4->isHidden());
    test::ScreenFixture::trigger(d, "mnuPred");
    test::settle();
    EXPECT_EQ(returned, QStringLiteral("0,05"));
    EXPECT_TRUE(caller->isVisible());
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(ZDialog, ClosedVolumesListTheFuelKindsAndTakeTheChosenKindsZ)
{
    auto* d = open(false, "0,1");
    const int kinds = int(state.db().query("select * from tabGoryuch").size());
    ASSERT_GE(kinds, 3);
    EXPECT_EQ(d->Combo1->count(), kinds);
    EXPECT_EQ(d->Tabl_Name->rowCount(), kinds + 1);
    EXPECT_EQ(screens::cellText(d->Tabl_Name, 0, 0), QStringLiteral("Наименование вида горючего"));
    EXPECT_EQ(screens::cellText(d->Tabl_Name, 1, 0), QStringLiteral("Водород"));
    EXPECT_EQ(screens::cellText(d->Tabl_Name, 1, 1), QStringLiteral("1"));
    EXPECT_FALSE(d->Option4->isEnabled());
    EXPECT_FALSE(d->Frame2->isHidden());
    EXPECT_TRUE(d->Frame4->isHidden());
    // The caller's z replaces the first kind's z after the activation.
    EXPECT_EQ(d->Zet->text(), QStringLiteral("0,1"));

    d->Combo1->setCurrentIndex(2);
    Q_EMIT d->Combo1->activated(2);
    EXPECT_EQ(d->Zet->text(), QStringLiteral("0,3"));

    trigger(d, "mnuCancel");
    test::settle();
    EXPECT_FALSE(returned.has_value());
    EXPECT_TRUE(caller->isVisible());
}

TEST_F(ZDialog, BoundsOfZ)
{
    const struct {
        const char* typed;
        QStringList messages;
        std::optional<QString> returned;  // nothing: the dialog stays
        const char* shown;
    } cases[] = {
        {"0,019", {kBelow}, std::nullopt, "0,02"},
        {"1,5", {kAbove}, QStringLiteral("1"), "1"},
        {"1", {}, QStringLiteral("1"), "1"},
        {"0,02", {}, QStringLiteral("0,02"), "0,02"},
        {"", {QStringLiteral("Ввод данных|Проверьте правильность ввода: в поле «z» не число («»).")}, std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        dialogs.clear();
        returned.reset();
        auto* d = open(true, c.typed);
        EXPECT_EQ(d->saveAndReturn(), c.returned.has_value());
        EXPECT_EQ(messages(), c.messages);
        EXPECT_EQ(returned, c.returned);
        EXPECT_EQ(d->Zet->text(), QString::fromUtf8(c.shown));
        if (!c.returned) {
            EXPECT_TRUE(d->isVisible());
            // The corrected value is confirmed by a second "<<Назад с сохранением".
            if (QString::fromUtf8(c.shown) == QStringLiteral("0,02")) {
                dialogs.clear();
                EXPECT_TRUE(d->saveAndReturn());
                EXPECT_EQ(returned, QStringLiteral("0,02"));
                EXPECT_TRUE(dialogs.calls.empty());
            } else {
                d->cancel();
            }
        }
        test::settle();
    }
}

TEST_F(ZDialog, LeavingZetBelowTheLowestValueCorrectsIt)
{
    auto* d = open(true, "0,1");
    type(d->Zet, "0,01");
    dialogs.clear();
    EXPECT_TRUE(d->Zet->checkValue());
    EXPECT_EQ(messages(), QStringList{"Внимание!|доля участия вещества во взрыве не может быть снижена ниже 0,02"});
    EXPECT_EQ(d->Zet->text(), QStringLiteral("0,02"));
}

namespace {

class Nyu : public test::ScreenFixture {
protected:
    frmNyu* open(const QString& tempv)
    {
        return new frmNyu(state, tempv, caller, [this](const QString& t, const QString& n) {
            enteredT = t;
            enteredNyu = n;
        });
    }
    QWidget* caller = new QWidget;  // destroyed with the other windows at tear-down
    QString enteredT, enteredNyu;
};

}  // namespace

TEST_F(Nyu, SpeedAndTemperatureCases)
{
    const struct {
        const char* V;
        const char* T;
        const char* nyu;
    } cases[] = {
        {"0", "20", "1,00"},
        {"0,3", "5", "5,27"},     // rows (0,2; 10) and (0,5; 10)
        {"2", "40", "4,60"},      // the row (1; 35)
        {"0,1", "20", "2,40"},    // bracket (0; 0,1) gives the value of speed 0,1
        {"0,15", "13,3", "3,41"}, // the lower speed's value rounded to 0,01 first
        {"0,5", "10", "6,60"},
        {"0,5", "35", "3,20"},
        {"-1", "10", "-19,00"},   // a negative speed falls into the first bracket
    };
    auto* n = open("20");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.V) + " " + c.T);
        n->V->setText(QString::fromUtf8(c.V));
        n->T->setText(QString::fromUtf8(c.T));
        ASSERT_TRUE(n->calculate());
        EXPECT_EQ(n->txtNyu->text(), QString::fromUtf8(c.nyu));
    }
    EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(Nyu, OpeningComputesAtOnceThenShowsTheAirTemperature)
{
    auto* n = open("27,5");
    EXPECT_EQ(n->txtNyu->text(), QStringLiteral("1,00"));
    EXPECT_EQ(n->T->text(), QStringLiteral("27,5"));
    EXPECT_FALSE(n->txtNyu->isEnabled());
    n->show();
    n->V->setText("0,5");
    click(n->Command3);
    click(n->Command1);
    test::settle();
    EXPECT_EQ(enteredT, QStringLiteral("27,5"));
    EXPECT_EQ(enteredNyu, QStringLiteral("4,05"));  // the row values of speed 0,5 at 20 and 30
    EXPECT_EQ(state.nyu.speed, 0.5);
    EXPECT_EQ(state.nyu.temperature, 27.5);
    EXPECT_TRUE(caller->isVisible());
}

TEST_F(Nyu, CancelRestoresTheLastSpeedAndTemperatureAndEntersNothing)
{
    state.nyu.speed = 0.5;
    state.nyu.temperature = 15;
    auto* n = open("20");
    n->show();
    n->V->setText("1");
    ASSERT_TRUE(n->calculate());
    EXPECT_EQ(state.nyu.speed, 1);
    click(n->Command2);
    test::settle();
    EXPECT_EQ(state.nyu.speed, 0.5);
    EXPECT_EQ(state.nyu.temperature, 15);
    EXPECT_TRUE(enteredNyu.isEmpty());
    EXPECT_TRUE(caller->isVisible());
}

TEST_F(Nyu, AMissingTableRowIsReportedAndLeavesTheCoefficient)
{
    state.db().exec("delete from tabNyu where V=0.5");
    auto* n = open("20");
    n->V->setText("0,3");
    n->T->setText("20");
    dialogs.clear();
    EXPECT_FALSE(n->calculate());
    EXPECT_EQ(n->txtNyu->text(), QStringLiteral("1,00"));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_TRUE(dialogs.calls[0].text.contains(QStringLiteral("0,5 м/с")));
    EXPECT_EQ(state.nyu.speed, 0);
}

namespace {

class HeatInflowDialog : public test::ScreenFixture {
protected:
    screens::frmPt* open(const QString& rate)
    {
        auto* d = new screens::frmPt(held, rate, caller, [this](const QString& r, const HeatInflow& h) {
            returned = r;
            held = h;
        });
        d->show();
        return d;
    }
    QWidget* caller = new QWidget;
    HeatInflow held;  // the state the dialog opens on and hands back
    std::optional<QString> returned;
};

}  // namespace

TEST_F(HeatInflowDialog, FormulasReturnTheRecomputedRateAndStoreTheirState)
{
    const struct {
        const char* name;
        QRadioButton* screens::frmPt::*option;
        const char* factors[3];
        const char* rate;
        HeatInflow state;
    } cases[] = {
        {"10.1", &screens::frmPt::Option2, {"2", "3", "4"}, "24,000", {1, 2, 3, 4}},
        {"10.2", &screens::frmPt::Option3, {"0,5", "3", "4"}, "6,000", {2, 0.5, 3, 4}},
        {"10.3", &screens::frmPt::Option4, {"5", "7", "9"}, "35,000", {3, 5, 7, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        held = {};
        returned.reset();
        auto* d = open("0");
        (d->*c.option)->click();
        EXPECT_FALSE(d->txtPt->isEnabled());
        EXPECT_FALSE(d->Command1->isHidden());
        d->per1->setText(QString::fromUtf8(c.factors[0]));
        d->per2->setText(QString::fromUtf8(c.factors[1]));
        d->per3->setText(QString::fromUtf8(c.factors[2]));
        // No "Расчет" pressed: the rate is computed on the way back.
        trigger(d, "mnuReturn");
        test::settle();
        EXPECT_EQ(returned, QString::fromUtf8(c.rate));
        EXPECT_EQ(held, c.state);
        EXPECT_TRUE(caller->isVisible());
    }

    // Reopening shows formula (10.3) with its two factors; per3 and its symbol hidden.
    auto* d = open("35,000");
    EXPECT_TRUE(d->Option4->isChecked());
    EXPECT_EQ(d->per1->text(), QStringLiteral("5"));
    EXPECT_EQ(d->per2->text(), QStringLiteral("7"));
    EXPECT_TRUE(d->per3->isHidden());
    EXPECT_FALSE(d->fW->isHidden());
    EXPECT_FALSE(d->ftet->isHidden());
    EXPECT_TRUE(d->fK->isHidden());
    EXPECT_EQ(d->txtPt->text(), QStringLiteral("35,000"));
    test::snapshot(d, "frmPt");
}

TEST_F(HeatInflowDialog, TypedRateClearsTheFactorsAndCancelChangesNothing)
{
    held = {1, 2, 3, 4};
    auto* d = open("24,000");
    EXPECT_TRUE(d->Option2->isChecked());
    click(d->Command1);
    EXPECT_EQ(d->txtPt->text(), QStringLiteral("24,000"));
    d->per1->setText("10");
    click(d->Command2);
    test::settle();
    EXPECT_FALSE(returned.has_value());
    EXPECT_EQ(held, (HeatInflow{1, 2, 3, 4}));

    d = open("24,000");
    d->Option1->click();
    EXPECT_TRUE(d->per1->isHidden());
    EXPECT_TRUE(d->Command1->isHidden());
    EXPECT_TRUE(d->txtPt->isEnabled());
    type(d->txtPt, "12.5");
    EXPECT_EQ(d->txtPt->text(), QStringLiteral("12,5"));
    EXPECT_TRUE(d->saveAndReturn());
    EXPECT_EQ(returned, QStringLiteral("12,5"));
    EXPECT_EQ(held, HeatInflow{});

    d = open("12,5");
    EXPECT_TRUE(d->Option1->isChecked());
    EXPECT_TRUE(d->per2->isHidden());
}

TEST_F(HeatInflowDialog, AFactorThatIsNotANumberKeepsTheDialogOpen)
{
    auto* d = open("0");
    d->Option2->click();
    d->per2->setText("");
    dialogs.clear();
    EXPECT_FALSE(d->saveAndReturn());
    EXPECT_EQ(messages(), QStringList{"Ввод данных|Проверьте правильность ввода: в поле «F / c / θ» не число («»)."});
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(returned.has_value());
    EXPECT_EQ(held, HeatInflow{});
}

// The dialogs opened the way the input screen and the block editor open them.
TEST_F(ZDialog, OpenedFromTheInputScreenItStartsFromItsZAndWritesItBack)
{
    auto* input = new test::FakeInput(state);
    input->value.conditions.Zet = "0,05";
    input->show();
    screens::openZDialog(state, *input);
    auto* d = test::visible<frmDolya_z>("frmDolya_z");
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(input->isVisible());
    EXPECT_EQ(d->Zet->text(), QStringLiteral("0,05"));
    EXPECT_TRUE(d->Option4->isChecked());
    d->Zet->setText("0,3");
    trigger(d, "mnuPred");
    test::settle();
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(input->value.conditions.Zet, QStringLiteral("0,3"));
}

TEST_F(Nyu, EnterWritesTheInputScreensAirTemperatureAndCoefficient)
{
    auto* input = new test::FakeInput(state);
    input->value.conditions.Tempv = "30";
    input->value.conditions.Tempp = "20";
    input->show();
    screens::openNyuCalculator(state, *input);
    auto* n = test::visible<frmNyu>("frmNyu");
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->T->text(), QStringLiteral("30"));
    n->V->setText("1");
    click(n->Command3);
    click(n->Command1);
    test::settle();
    EXPECT_EQ(input->value.conditions.Tempv, QStringLiteral("30"));
    EXPECT_EQ(input->value.conditions.txtNyu, QStringLiteral("5,60"));
    EXPECT_EQ(input->value.conditions.Tempp, QStringLiteral("20"));

    // "Отмена" leaves both fields as they were.
    screens::openNyuCalculator(state, *input);
    n = test::visible<frmNyu>("frmNyu");
    ASSERT_NE(n, nullptr);
    n->T->setText("10");
    click(n->Command3);
    click(n->Command2);
    test::settle();
    EXPECT_EQ(input->value.conditions.Tempv, QStringLiteral("30"));
    EXPECT_EQ(input->value.conditions.txtNyu, QStringLiteral("5,60"));
}

TEST_F(HeatInflowDialog, OpenedFromTheBlockEditorItReturnsTheRateIntoItsFieldAndTheStateIntoTheProcess)
{
    state.heatInflow = {};
    auto* editor = new screens::frmBlok(state, nullptr, true, true, 2);
    editor->show();
    editor->Sk_teploper_GF->setText("7");
    click(editor->Command4);
    auto* d = test::visible<screens::frmPt>("frmPt");
    ASSERT_NE(d, nullptr);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(d->txtPt->text(), QStringLiteral("7"));
    d->Option2->click();
    d->per1->setText("2");
    d->per2->setText("3");
    d->per3->setText("4");
    trigger(d, "mnuReturn");
    test::settle();
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->Sk_teploper_GF->text(), QStringLiteral("24,000"));
    EXPECT_EQ(state.heatInflow, (HeatInflow{1, 2, 3, 4}));

    // Cancelling hands nothing back.
    click(editor->Command4);
    d = test::visible<screens::frmPt>("frmPt");
    ASSERT_NE(d, nullptr);
    d->per1->setText("5");
    trigger(d, "mnuCancel");
    test::settle();
    EXPECT_EQ(editor->Sk_teploper_GF->text(), QStringLiteral("24,000"));
    EXPECT_EQ(state.heatInflow, (HeatInflow{1, 2, 3, 4}));
}
