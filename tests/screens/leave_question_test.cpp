// The question on leaving the input screen and the block editor with
// changes that are not stored.
#include "screens/screens_fixture.h"

#include "common/leave_question.h"

#include <QStatusBar>

using namespace veltron;
using namespace veltron::test;
using screens::frmBlok;
using screens::frmInput;

namespace {

class LeaveQuestion : public ModelIScreens {
protected:
    // The input screen of the calculation "Склад", made on first use.
    frmInput* openInput()
    {
        auto* list = openList();
        if (!list)
            return nullptr;
        const int stored = list->Combo1->findText(QStringLiteral("Склад"));
        if (stored < 0) {
            list->txtRasch->setText(QStringLiteral("Склад"));
        } else {
            list->Option3->setChecked(true);
            list->Combo1->setCurrentIndex(stored);
        }
        QTest::mouseClick(list->Command1, Qt::LeftButton);
        settle();
        return visible<frmInput>("frmInput");
    }

    double stored(double records::Conditions::*field)
    {
        return records::loadConditions(*state.store, state.current.id).value().*field;
    }
};

}  // namespace

TEST_F(LeaveQuestion, InputScreen)
{
    LeaveCase c;
    c.open = [&] { return openInput(); };
    c.change = [](ui::Screen* s, int edit) {
        static_cast<frmInput*>(s)->t_kontakt->setText(edit == 1 ? QStringLiteral("1800") : QStringLiteral("900"));
    };
    c.save = [&](ui::Screen* s) { trigger(s, "mnuSave"); };
    c.leave = [&](ui::Screen* s) { trigger(s, "mnuReturn"); };
    c.stored = [&] { return QString::number(stored(&records::Conditions::t_kontakt)); };
    expectLeaveQuestion(dialogs, c);

    // A save says so in the status bar.
    frmInput* saved = openInput();
    ASSERT_NE(saved, nullptr);
    trigger(saved, "mnuSave");
    EXPECT_EQ(saved->statusBar()->currentMessage(), QStringLiteral("Расчет сохранен"));
    trigger(saved, "mnuReturn");

    // "Changed" is what a save would store: a number written another way,
    // and an edit taken back, are no change.
    frmInput* input = openInput();
    ASSERT_NE(input, nullptr);
    input->t_kontakt->setText(QStringLiteral("900,0"));
    EXPECT_FALSE(input->hasUnsavedChanges());
    input->S_G->setText(QStringLiteral("12"));
    input->S_G->setText(QStringLiteral("0"));
    EXPECT_FALSE(input->hasUnsavedChanges());
    input->Check3->setChecked(false);
    input->txtPn->setText(QStringLiteral("55"));
    EXPECT_FALSE(input->hasUnsavedChanges()) << "a pressure not in use is not stored";
    input->t_kontakt->setText(QStringLiteral("abc"));
    EXPECT_TRUE(input->hasUnsavedChanges());

    // "Выход" asks too; Отмена keeps every window, Нет ends the program.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Cancel};
    trigger(input, "mnuExit");
    expectAsked(dialogs);
    EXPECT_TRUE(input->isVisible());
    dialogs.clear();
    dialogs.answers = {ui::Answer::No};
    trigger(input, "mnuExit");
    EXPECT_TRUE(visibleScreens().isEmpty());
    EXPECT_EQ(stored(&records::Conditions::t_kontakt), 900);
}

TEST_F(LeaveQuestion, InputScreenWithAFieldThatIsNotANumberStaysOnDa)
{
    frmInput* input = openInput();
    ASSERT_NE(input, nullptr);
    input->S_G->setText(QStringLiteral("12,,5"));
    dialogs.answers = {ui::Answer::Yes};
    trigger(input, "mnuReturn");
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[1].title, QStringLiteral("Ввод данных"));
    EXPECT_TRUE(input->isVisible()) << "nothing was stored, so the screen stays";
}

TEST_F(LeaveQuestion, BlockEditor)
{
    frmInput* input = openInput();
    ASSERT_NE(input, nullptr);
    click(input->Command5);
    enterBlock(QStringLiteral("Емкость"), QStringLiteral("Пропан"), QStringLiteral("10"), QStringLiteral("20"));
    click(editor()->Command1);
    dialogs.clear();

    LeaveCase c;
    c.open = [&] {
        clickRow(input->tabBlok, 1);
        click(input->Command6);
        return editor();
    };
    c.change = [](ui::Screen* s, int edit) {
        static_cast<frmBlok*>(s)->V_GF->setText(edit == 1 ? QStringLiteral("25") : QStringLiteral("30"));
    };
    c.save = [&](ui::Screen* s) {
        dialogs.answers = {ui::Answer::Yes};
        click(static_cast<frmBlok*>(s)->Command2);
    };
    c.leave = [](ui::Screen* s) { click(static_cast<frmBlok*>(s)->Command1); };
    c.stored = [&] { return QString::number(records::findBlock(*state.store, state.current.id, 1)->V_GF); };
    c.afterYes = {ui::Answer::Yes};  // the editor's own question before every save
    expectLeaveQuestion(dialogs, c);
    EXPECT_TRUE(input->isVisible());

    // A new block left as it opened asks nothing; a typed name asks.
    click(input->Command15);
    frmBlok* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->hasUnsavedChanges());
    e->Name_blok->setText(QStringLiteral("Трубопровод"));
    EXPECT_TRUE(e->hasUnsavedChanges());
    dialogs.clear();
    dialogs.answers = {ui::Answer::No};
    e->close();
    settle();
    expectAsked(dialogs);
    EXPECT_EQ(records::blocksOf(*state.store, state.current.id).size(), 1);
}
