#include "screens/screens_fixture.h"

#include "screens/frmSave.h"

#include <QSlider>

using namespace veltron;
using namespace veltron::test;
using screens::frmInput;

namespace {

class Walk : public ModelIScreens {};

const QString kQuestion = QStringLiteral("В н и м а н и е ! ! !");

}  // namespace

TEST_F(Walk, CalculationWithBlocksIsSavedAndReopensWithEveryValue)
{
    frmInput* input = createCalculation(QStringLiteral("Цех 'А'"));
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->Label18->text(), QStringLiteral("Цех 'А'"));
    // No main block yet: no run, only "Новый".
    EXPECT_FALSE(input->Command3->isEnabled());
    EXPECT_FALSE(input->findChild<QAction*>("mnuRaschet")->isEnabled());
    EXPECT_TRUE(input->Command5->isEnabled());
    EXPECT_FALSE(input->Command6->isEnabled());
    EXPECT_FALSE(input->Command7->isEnabled());
    EXPECT_FALSE(input->tabBlok->isVisibleTo(input));
    EXPECT_TRUE(input->Label4->isVisibleTo(input));

    click(input->Command5);
    auto* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->Frame2->isVisibleTo(e));
    EXPECT_EQ(e->Id->text(), "1");
    EXPECT_FALSE(e->stored());
    e->Check2->setChecked(true);
    e->G2->setText(QStringLiteral("12,5"));
    dialogs.clear();
    enterBlock(QStringLiteral("Резервуар Р-1"), QStringLiteral("Пропан"), QStringLiteral("42,5"), QStringLiteral("20"));
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, kQuestion);
    EXPECT_EQ(dialogs.calls[0].text,
              QStringLiteral("Неправильно введенные данные, могут привести к ошибке в расчете! Продолжить сохранение?"));
    EXPECT_TRUE(e->stored());
    EXPECT_TRUE(input->Command3->isEnabled());
    EXPECT_FALSE(input->Command5->isEnabled());
    // A second save rewrites the same row.
    e->Name_blok->setText(QStringLiteral("Резервуар Р-1А"));
    dialogs.answers = {ui::Answer::Yes};
    click(e->Command2);
    ASSERT_EQ(records::blocksOf(*state.store, state.current.id).size(), 1);
    click(e->Command1);
    ASSERT_TRUE(input->isVisible());
    EXPECT_EQ(screens::cellText(input->tabBlok, 1, 0), QStringLiteral("Резервуар Р-1А"));
    EXPECT_EQ(screens::cellText(input->tabBlok, 1, 1), QStringLiteral("Пропан"));

    for (const char* name : {"Трубопровод", "Насос"}) {
        click(input->Command15);
        e = editor();
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(e->Frame2->isVisibleTo(e));
        e->S_sech->setText(QStringLiteral("0,005"));
        e->Koef_gidro->setText(QStringLiteral("0,6"));
        e->Check3->setChecked(true);
        e->txtVist_zad->setText(QStringLiteral("120"));
        enterBlock(QString::fromUtf8(name), QStringLiteral("Бензин"), QStringLiteral("0,25"), QStringLiteral("-5"));
        click(e->Command1);
    }
    EXPECT_EQ(input->tabBlok_smeg->rowCount(), 3);
    EXPECT_EQ(screens::cellText(input->tabBlok_smeg, 1, 0), "2");
    EXPECT_EQ(screens::cellText(input->tabBlok_smeg, 2, 0), "3");
    EXPECT_EQ(screens::cellText(input->tabBlok_smeg, 2, 1), QStringLiteral("Насос"));
    EXPECT_TRUE(input->Frame1->isVisibleTo(input));

    // General conditions.
    input->Combo4->setCurrentIndex(input->Combo4->findText(QStringLiteral("Песок")));
    EXPECT_EQ(input->Koef_teplopr->text(), QStringLiteral("0,58"));
    EXPECT_EQ(input->c->text(), QStringLiteral("0,84"));
    EXPECT_EQ(input->p->text(), QStringLiteral("1600"));
    input->t_kontakt->setText("1800");
    input->S_kontakt->setText("400");
    input->S_G->setText(QStringLiteral("350,5"));
    input->Check1->setChecked(true);
    input->Tempv->setText("-12");
    input->Tempv->checkValue();
    EXPECT_EQ(input->Tempp->text(), "-12");
    EXPECT_EQ(input->txtTg->text(), "-12");
    input->txtTg->setText("4");
    input->Option4->setChecked(true);
    EXPECT_EQ(input->txtNyu->text(), QStringLiteral("1,0"));
    EXPECT_FALSE(input->txtNyu->isEnabled());
    input->Option3->setChecked(true);
    EXPECT_EQ(input->txtNyu->text(), QStringLiteral("5,6"));
    input->txtNyu->setText(QStringLiteral("3,2"));
    input->Check3->setChecked(true);
    input->txtPn->setText(QStringLiteral("101,3"));
    input->Check2->setChecked(true);
    input->txtLnkpr->setText("35");
    input->txtUv->setText(QStringLiteral("2,5"));
    trigger(input, "mnuSave");
    trigger(input, "mnuReturn");
    ASSERT_NE(visibleScreen("frmLoad_Rasch"), nullptr);

    auto* list = openList();
    ASSERT_NE(list, nullptr);
    click(list->Option2);
    EXPECT_EQ(list->txtRasch->text(), QStringLiteral("Цех 'А'"));
    EXPECT_TRUE(list->txtRasch->isReadOnly());
    click(list->Command1);
    input = visible<frmInput>("frmInput");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->Label18->text(), QStringLiteral("Цех 'А'"));
    EXPECT_EQ(input->Combo4->currentText(), QStringLiteral("Песок"));
    EXPECT_EQ(input->Koef_teplopr->text(), QStringLiteral("0,58"));
    EXPECT_EQ(input->t_kontakt->text(), "1800");
    EXPECT_EQ(input->S_kontakt->text(), "400");
    EXPECT_EQ(input->S_G->text(), QStringLiteral("350,5"));
    EXPECT_TRUE(input->Check1->isChecked());
    EXPECT_EQ(input->Tempv->text(), "-12");
    EXPECT_EQ(input->Tempp->text(), "-12");
    EXPECT_EQ(input->txtTg->text(), "4");
    EXPECT_EQ(input->txtNyu->text(), QStringLiteral("3,2")) << "the stored η is shown";
    EXPECT_TRUE(input->Option3->isChecked());
    EXPECT_EQ(input->Zet->text(), QStringLiteral("0,1"));
    EXPECT_TRUE(input->Check3->isChecked());
    EXPECT_TRUE(input->txtPn->isVisibleTo(input));
    EXPECT_EQ(input->txtPn->text(), QStringLiteral("101,3"));
    EXPECT_FALSE(input->Check4->isChecked());
    EXPECT_FALSE(input->txtPn1->isVisibleTo(input));
    EXPECT_TRUE(input->Check2->isChecked());
    EXPECT_TRUE(input->Frame5->isVisibleTo(input));
    EXPECT_EQ(input->txtLnkpr->text(), "35");
    EXPECT_EQ(input->txtUv->text(), QStringLiteral("2,5"));
    EXPECT_EQ(input->LTempv->text(), QStringLiteral("Температура воздуха в окружающей среде, °C"));
    EXPECT_EQ(records::lastOpenedId(*state.store), state.current.id);
    EXPECT_EQ(state.store->query("SELECT * FROM tab_time").size(), 1);

    // The main block in the editor.
    clickRow(input->tabBlok, 1);
    ASSERT_TRUE(input->Command6->isEnabled());
    click(input->Command6);
    e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Name_blok->text(), QStringLiteral("Резервуар Р-1А"));
    EXPECT_EQ(e->Combo1->currentText(), QStringLiteral("Пропан"));
    EXPECT_EQ(e->V_GF->text(), QStringLiteral("42,5"));
    EXPECT_EQ(e->V_PGF->text(), QStringLiteral("7,5"));
    EXPECT_EQ(e->Davl->text(), QStringLiteral("0,84"));
    EXPECT_EQ(e->Plotn_GF->text(), "500");
    EXPECT_EQ(e->Adiab->text(), QStringLiteral("1,13"));
    EXPECT_TRUE(e->Check2->isChecked());
    EXPECT_EQ(e->G2->text(), QStringLiteral("12,5"));
    EXPECT_EQ(e->findChild<QLabel*>("Check1Caption")->text(),
              QStringLiteral("известна масса ПГФ, имеющаяся непосредственно в блоке, кг"));
    click(e->Command1);

    // The second adjacent block in the editor.
    clickRow(input->tabBlok_smeg, 2);
    click(input->Command14);
    e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Id->text(), "3");
    EXPECT_EQ(e->Name_blok->text(), QStringLiteral("Насос"));
    EXPECT_EQ(e->cmdGrpog->currentText(), QStringLiteral("смесь"));
    EXPECT_EQ(e->Combo1->currentText(), QStringLiteral("Бензин"));
    EXPECT_EQ(e->Temp->text(), "-5");
    EXPECT_EQ(e->S_sech->text(), QStringLiteral("0,005"));
    EXPECT_EQ(e->Koef_gidro->text(), QStringLiteral("0,6"));
    EXPECT_EQ(e->HScroll1->value(), 60);
    EXPECT_TRUE(e->Check3->isChecked());
    EXPECT_EQ(e->txtVist_zad->text(), "120");
    EXPECT_TRUE(e->txtVist_zad->isVisibleTo(e));
    EXPECT_FALSE(e->txtVist->isVisibleTo(e));
    EXPECT_EQ(e->findChild<QLabel*>("Check1Caption")->text(),
              QStringLiteral("известна масса ПГФ, поступившая в него при АРБ от данного смежного блока, кг"));
    EXPECT_TRUE(e->stored());
}

TEST_F(Walk, RenameRefusesTheSameAndAnotherCalculationsName)
{
    frmInput* input = createCalculation(QStringLiteral("Первый"));
    ASSERT_NE(input, nullptr);
    trigger(input, "mnuReturn");
    input = createCalculation(QStringLiteral("Второй"));
    ASSERT_NE(input, nullptr);
    trigger(input, "mnuPerem");
    auto* dlg = visible<screens::frmSave>("frmSave");
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(input->isVisible());
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Переименовать"));
    EXPECT_EQ(dlg->txtRasch->text(), QStringLiteral("Второй"));
    struct Case {
        QString name;
        QString message;
    };
    const Case refusals[] = {{QStringLiteral("Второй"), QStringLiteral("Поменяйте имя расчета!")},
                             {QStringLiteral("Первый"), QStringLiteral("В базе есть расчет с таким именем!")}};
    for (const auto& c : refusals) {
        dialogs.clear();
        dlg->txtRasch->setText(c.name);
        click(dlg->Command1);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.calls[0].title, kQuestion);
        EXPECT_EQ(dialogs.calls[0].text, c.message);
        EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
        EXPECT_TRUE(dlg->isVisible());
    }
    dlg->txtRasch->clear();
    EXPECT_FALSE(dlg->Command1->isEnabled());
    dlg->txtRasch->setText(QStringLiteral("Второй 'новый'"));
    click(dlg->Command1);
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(input->Label18->text(), QStringLiteral("Второй 'новый'"));
    EXPECT_EQ(state.current.name, QStringLiteral("Второй 'новый'"));
    EXPECT_TRUE(records::findByName(*state.store, QStringLiteral("Второй 'новый'")));
    // "<<Назад" of the dialog shows the input screen again, unchanged.
    trigger(input, "mnuPerem");
    dlg = visible<screens::frmSave>("frmSave");
    ASSERT_NE(dlg, nullptr);
    dlg->close();
    settle();
    EXPECT_EQ(visibleScreens(), QStringList{"frmInput"});
}

TEST_F(Walk, SaveAsOntoAnExistingCalculationReplacesBlocksAndKeepsSettings)
{
    auto& s = *state.store;
    const int targetId = records::createCalculation(s, QStringLiteral("Цель")).id;
    s.exec("UPDATE tabMain SET A = 1, Pn = 3 WHERE Id = ?", {targetId});
    records::Block old;
    old.Id_Rasch = targetId;
    old.Name_blok = QStringLiteral("старый");
    old.Name = QStringLiteral("Бутан");
    records::saveBlock(s, old);
    old.Id = 2;
    records::saveBlock(s, old);

    frmInput* input = createCalculation(QStringLiteral("Источник"));
    ASSERT_NE(input, nullptr);
    const int sourceId = state.current.id;
    click(input->Command5);
    enterBlock(QStringLiteral("новый главный"), QStringLiteral("Пропан"), "1", "20");
    click(editor()->Command1);
    input->t_kontakt->setText("77");

    dialogs.clear();
    dialogs.answers = {ui::Answer::No};
    trigger(input, "mnuSaveAs");
    EXPECT_EQ(dialogs.messages(),
              QStringList{kQuestion + "|Не сохраненные данные для загруженного расчета будут утеряны! Продолжить сохранение?"});
    EXPECT_TRUE(input->isVisible());
    dialogs.answers = {ui::Answer::Yes};
    trigger(input, "mnuSaveAs");
    auto* dlg = visible<screens::frmSave>("frmSave");
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Выбор варианта загрузки"));
    dlg->txtRasch->setText(QStringLiteral("Цель"));
    dialogs.clear();
    dialogs.answers = {ui::Answer::No};
    click(dlg->Command1);
    EXPECT_EQ(dialogs.messages(),
              QStringList{kQuestion + QStringLiteral("|В базе есть расчет с таким именем. Измените название или "
                                                     "старый расчет будет заменен с потерей данных по нему!")});
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(records::blocksOf(s, targetId).size(), 2);
    dialogs.answers = {ui::Answer::Yes};
    click(dlg->Command1);
    input = visible<frmInput>("frmInput");
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(visibleScreens(), QStringList{"frmInput"});
    EXPECT_EQ(state.current.id, targetId);
    EXPECT_EQ(input->Label18->text(), QStringLiteral("Цель"));
    EXPECT_EQ(input->t_kontakt->text(), "77");
    EXPECT_EQ(screens::cellText(input->tabBlok, 1, 0), QStringLiteral("новый главный"));
    EXPECT_FALSE(input->tabBlok_smeg->isVisibleTo(input));
    const auto blocks = records::blocksOf(s, targetId);
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(blocks[0].Name, QStringLiteral("Пропан"));
    const auto settings = s.query("SELECT A, Pn FROM tabMain WHERE Id = ?", {targetId}).first();
    EXPECT_EQ(settings.value(0).toInt(), 1);
    EXPECT_EQ(settings.value(1).toInt(), 3);
    EXPECT_EQ(state.runSettings.A, 1);
    EXPECT_EQ(records::blocksOf(s, sourceId).size(), 1) << "the source keeps its blocks";
}

TEST_F(Walk, DeletingAnAdjacentBlockRenumbersTheRest)
{
    frmInput* input = createCalculation(QStringLiteral("Блоки"));
    ASSERT_NE(input, nullptr);
    const int id = state.current.id;
    records::Block b;
    b.Id_Rasch = id;
    b.Name = QStringLiteral("Пропан");
    for (int n : {2, 3, 4, 5}) {
        b.Id = n;
        b.Name_blok = QStringLiteral("блок %1").arg(n);
        records::saveBlock(*state.store, b);
    }
    b.Id_Rasch = id + 100;  // another calculation's block is not touched
    b.Id = 4;
    records::saveBlock(*state.store, b);
    input->fillBlockGrids();
    ASSERT_EQ(input->tabBlok_smeg->rowCount(), 5);
    EXPECT_FALSE(input->Command13->isEnabled());
    clickRow(input->tabBlok_smeg, 2);
    ASSERT_EQ(input->selectedAdjacent(), 3);
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    click(input->Command13);
    EXPECT_EQ(dialogs.messages(), QStringList{kQuestion + QStringLiteral("|Удаленные данные будут утеряны! Продолжить?")});
    QStringList rows;
    for (int r = 1; r < input->tabBlok_smeg->rowCount(); ++r)
        rows << screens::cellText(input->tabBlok_smeg, r, 0) + ":" + screens::cellText(input->tabBlok_smeg, r, 1);
    EXPECT_EQ(rows, (QStringList{"2:блок 2", "3:блок 4", "4:блок 5"}));
    EXPECT_FALSE(input->Command13->isEnabled());
    EXPECT_FALSE(input->Command14->isEnabled());
    EXPECT_TRUE(records::findBlock(*state.store, id + 100, 4));
    // A new adjacent block continues the numbering.
    click(input->Command15);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->Id->text(), "5");
}

TEST_F(Walk, DeletingTheLastCalculationIsRefused)
{
    state.store->exec("DELETE FROM tabRasch");
    frmInput* input = createCalculation(QStringLiteral("Единственный"));
    ASSERT_NE(input, nullptr);
    dialogs.clear();
    trigger(input, "mnuDelete");
    EXPECT_EQ(dialogs.messages(),
              QStringList{kQuestion + QStringLiteral("|Невозможно удалить последний расчет! Создайте сначала новый!")});
    EXPECT_TRUE(input->isVisible());
    trigger(input, "mnuReturn");

    input = createCalculation(QStringLiteral("Второй"));
    ASSERT_NE(input, nullptr);
    const int id = state.current.id;
    click(input->Command5);
    enterBlock("x", QStringLiteral("Пропан"), "1", "1");
    click(editor()->Command1);
    dialogs.clear();
    dialogs.answers = {ui::Answer::No};
    trigger(input, "mnuDelete");
    EXPECT_TRUE(records::findById(*state.store, id));
    dialogs.answers = {ui::Answer::Yes};
    trigger(input, "mnuDelete");
    EXPECT_EQ(visibleScreens(), QStringList{"frmLoad_Rasch"});
    EXPECT_FALSE(records::findById(*state.store, id));
    EXPECT_FALSE(records::loadConditions(*state.store, id));
    EXPECT_TRUE(records::blocksOf(*state.store, id).isEmpty());
    // The next list falls back to the first calculation by name.
    auto* list = openList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(state.current.name, QStringLiteral("Единственный"));
}

// A calculation whose stored block holds text in a number field is not
// opened: the user is told the calculation, the block and the field, and
// stays at the list; nothing is read as 0 and nothing is written.
TEST_F(Walk, CalculationWithAStoredValueThatIsNoNumberIsNotOpened)
{
    frmInput* input = createCalculation(QStringLiteral("Цех"));
    ASSERT_NE(input, nullptr);
    click(input->Command5);
    enterBlock(QStringLiteral("Резервуар"), QStringLiteral("Пропан"), QStringLiteral("42,5"), QStringLiteral("20"));
    click(editor()->Command1);
    trigger(input, "mnuReturn");
    state.store->exec("UPDATE tabBloki SET V_GF = 'abc' WHERE Id_Rasch = ?", {state.current.id});

    auto* list = openList();
    ASSERT_NE(list, nullptr);
    click(list->Option3);
    list->Combo1->setCurrentIndex(list->Combo1->findText(QStringLiteral("Цех")));
    dialogs.clear();
    click(list->Command1);
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("Внимание!|Расчет «Цех», расчетный блок: в поле V_GF записано «abc» — это не "
                                         "число. Исправьте значение в базе данных: расчет по нему невозможен.")});
    EXPECT_EQ(visibleScreens(), QStringList{"frmLoad"});
    EXPECT_EQ(state.store->query("SELECT V_GF FROM tabBloki WHERE Id_Rasch = ?", {state.current.id})
                  .first().value(0).toString(),
              QStringLiteral("abc"));
}
