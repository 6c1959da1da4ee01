#include "screens/screens_fixture.h"

#include "screens/block_grids.h"

#include <QSlider>

using namespace veltron;
using namespace veltron::test;
using screens::frmInput;

namespace {

class Rules : public ModelIScreens {};

}  // namespace

TEST_F(Rules, ListScreenOptionsAndMessages)
{
    auto& s = *state.store;
    s.exec("DELETE FROM tabRasch");
    records::createCalculation(s, QStringLiteral("Бета"));
    records::createCalculation(s, QStringLiteral("альфа"));
    records::recordOpening(s, 99);  // no such calculation: the first by name
    auto* list = openList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->windowTitle(), QStringLiteral("Выбор варианта загрузки"));
    EXPECT_TRUE(list->Option1->isChecked());
    EXPECT_TRUE(list->txtRasch->isVisible());
    EXPECT_FALSE(list->Combo1->isVisible());
    EXPECT_EQ(state.current.name, QStringLiteral("альфа"));
    click(list->Option3);
    EXPECT_TRUE(list->Combo1->isVisible());
    EXPECT_FALSE(list->txtRasch->isVisible());
    EXPECT_EQ(list->Combo1->itemText(0), QStringLiteral("альфа"));
    EXPECT_EQ(list->Combo1->itemText(1), QStringLiteral("Бета"));
    click(list->Option2);
    EXPECT_EQ(list->txtRasch->text(), QStringLiteral("альфа"));
    click(list->Option1);
    EXPECT_TRUE(list->txtRasch->text().isEmpty());
    EXPECT_FALSE(list->txtRasch->isReadOnly());

    struct Case {
        QString name;
        QString message;
    };
    const Case refusals[] = {
        {QStringLiteral(""), QStringLiteral("Необходимо ввести название для сохранения исходных данных расчета!")},
        {QStringLiteral("Бета"), QStringLiteral("В базе есть расчет с таким именем. Измените название или выбирите "
                                                "данное название из списка!")},
    };
    for (const auto& c : refusals) {
        dialogs.clear();
        list->txtRasch->setText(c.name);
        click(list->Command1);
        EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Внимание!!!|") + c.message});
        EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
        EXPECT_EQ(visibleScreens(), QStringList{"frmLoad"});
    }
    click(list->Option3);
    list->Combo1->setCurrentIndex(1);
    click(list->Command1);
    EXPECT_EQ(visibleScreens(), QStringList{"frmInput"});
    EXPECT_EQ(state.current.name, QStringLiteral("Бета"));
}

TEST_F(Rules, EmptyListOffersOnlyANewCalculation)
{
    state.store->exec("DELETE FROM tabRasch");
    auto* list = openList();
    ASSERT_NE(list, nullptr);
    EXPECT_FALSE(list->Option2->isEnabled());
    EXPECT_FALSE(list->Option3->isEnabled());
    list->txtRasch->setText(QStringLiteral("Первый"));
    click(list->Command1);
    EXPECT_EQ(visibleScreens(), QStringList{"frmInput"});
    EXPECT_EQ(state.current.id, 1);
}

TEST_F(Rules, ComplexListHasNoLastOptionAndLeadsToItsScreen)
{
    ui::navigator().open(QStringLiteral("frmLoad1"));
    settle();
    auto* list = visible<screens::frmLoad>("frmLoad1");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Option2, nullptr);
    list->txtRasch->setText(QStringLiteral("Комплекс"));
    click(list->Command1);
    ASSERT_TRUE(records::findByName(*state.store, QStringLiteral("Комплекс"), records::Kind::Complex));
    EXPECT_FALSE(records::findByName(*state.store, QStringLiteral("Комплекс")));
    EXPECT_EQ(visibleScreens(), QStringList{"frmPlaceholder"});
}

TEST_F(Rules, FrameCloseDoesWhatBackDoes)
{
    auto* list = openList();
    ASSERT_NE(list, nullptr);
    list->close();
    settle();
    EXPECT_EQ(visibleScreens(), QStringList{"frmLoad_Rasch"});
    frmInput* input = createCalculation(QStringLiteral("Закрытие"));
    ASSERT_NE(input, nullptr);
    click(input->Command5);
    editor()->close();
    settle();
    EXPECT_EQ(visibleScreens(), QStringList{"frmInput"});
    input->close();
    settle();
    EXPECT_EQ(visibleScreens(), QStringList{"frmLoad_Rasch"});
}

TEST_F(Rules, MainGridFlagsHideAndShowColumns)
{
    frmInput* input = createCalculation(QStringLiteral("Столбцы"));
    ASSERT_NE(input, nullptr);
    records::Block b;
    b.Id_Rasch = state.current.id;
    b.Name = QStringLiteral("Пропан");
    b.V_GF = 5;
    struct Case {
        int g1, g2;
        std::vector<int> hidden;
    };
    using namespace screens;
    const Case cases[] = {
        {0, 0, {mainCol::znG1, mainCol::znG2}},
        {1, 0, {mainCol::V_PGF, mainCol::Plotn_PGF, mainCol::znG2}},
        {0, 1, {mainCol::V_GF, mainCol::Plotn_GF, mainCol::znG1}},
        {1, 1, {mainCol::V_PGF, mainCol::Plotn_PGF, mainCol::V_GF, mainCol::Plotn_GF}},
    };
    for (const auto& c : cases) {
        b.G1 = c.g1;
        b.G2 = c.g2;
        records::saveBlock(*state.store, b);
        input->fillBlockGrids();
        for (int col = 0; col < mainCol::Count; ++col) {
            const bool hidden = std::find(c.hidden.begin(), c.hidden.end(), col) != c.hidden.end();
            EXPECT_EQ(input->tabBlok->isColumnHidden(col), hidden) << "G1=" << c.g1 << " G2=" << c.g2 << " col " << col;
        }
    }
    // The adjacent grid carries the heat-inflow values in hidden columns.
    b.Id = 2;
    b.formula = 2;
    records::saveBlock(*state.store, b);
    input->fillBlockGrids();
    EXPECT_TRUE(input->tabBlok_smeg->isColumnHidden(adjCol::formula));
    EXPECT_EQ(cellText(input->tabBlok_smeg, 1, adjCol::formula), "2");
    EXPECT_FALSE(input->tabBlok_smeg->isColumnHidden(adjCol::znG2));
}

TEST_F(Rules, LiquidPhaseNoticeFollowsTheMainBlock)
{
    frmInput* input = createCalculation(QStringLiteral("Жидкость"));
    ASSERT_NE(input, nullptr);
    records::Block b;
    b.Id_Rasch = state.current.id;
    b.Name = QStringLiteral("Пропан");
    struct Case {
        double vgf;
        int g2;
        double zng2;
        bool notice;
    };
    const Case cases[] = {{0, 0, 0, true}, {0, 1, 0, true}, {0, 1, 3, false}, {2, 0, 0, false}};
    for (const auto& c : cases) {
        b.V_GF = c.vgf;
        b.G2 = c.g2;
        b.znG2 = c.zng2;
        records::saveBlock(*state.store, b);
        input->fillBlockGrids();
        EXPECT_EQ(input->Label19->isVisibleTo(input), c.notice) << c.vgf << " " << c.g2 << " " << c.zng2;
    }
    // Returning from the editor of a main block without liquid shows it.
    b.V_GF = 2;
    records::saveBlock(*state.store, b);
    input->fillBlockGrids();
    clickRow(input->tabBlok, 1);
    click(input->Command6);
    editor()->V_GF->setText("0");
    click(editor()->Command1);
    EXPECT_TRUE(input->Label19->isVisibleTo(input));
    EXPECT_TRUE(input->Frame17->isEnabled());
}

TEST_F(Rules, InputScreenFieldRules)
{
    frmInput* input = createCalculation(QStringLiteral("Поля"));
    ASSERT_NE(input, nullptr);
    // A new calculation: stored η 1 outdoors, the stored value shown.
    EXPECT_EQ(input->txtNyu->text(), "1");
    EXPECT_TRUE(input->txtNyu->isEnabled());
    EXPECT_EQ(input->Combo4->currentText(), QStringLiteral("Бетон"));
    EXPECT_EQ(input->p->text(), "2400");
    EXPECT_FALSE(input->Zet->isEnabled());
    EXPECT_FALSE(input->Koef_teplopr->isEnabled());
    EXPECT_FALSE(input->Frame5->isVisibleTo(input));
    EXPECT_EQ(input->txtLnkpr->text(), "20");
    EXPECT_EQ(input->txtUv->text(), "1");

    dialogs.clear();
    input->t_kontakt->setText("4000");
    EXPECT_TRUE(input->t_kontakt->checkValue());
    EXPECT_EQ(input->t_kontakt->text(), "3600");
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("Ввод данных|Время контакта жидкости с поверхностью пролива ограничивается 3600 с!")});
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Warning);

    // A hidden pressure keeps its text but is stored as 0.
    input->Check3->setChecked(true);
    input->txtPn->setText("55");
    input->Check3->setChecked(false);
    EXPECT_FALSE(input->txtPn->isVisibleTo(input));
    input->Check3->setChecked(true);
    EXPECT_EQ(input->txtPn->text(), "55");
    input->Check3->setChecked(false);
    ASSERT_TRUE(input->save());
    EXPECT_EQ(records::loadConditions(*state.store, state.current.id)->znPn, 0);

    // Indoors: the caption follows, η is fixed.
    input->Option4->setChecked(true);
    EXPECT_EQ(input->LTempv->text(), QStringLiteral("Температура воздуха в помещение, °C"));
    ASSERT_TRUE(input->save());
    trigger(input, "mnuReturn");
    auto* list = openList();
    click(list->Option2);
    click(list->Command1);
    input = visible<frmInput>("frmInput");
    ASSERT_NE(input, nullptr);
    EXPECT_TRUE(input->Option4->isChecked());
    EXPECT_FALSE(input->txtNyu->isEnabled());
    EXPECT_EQ(input->txtNyu->text(), QStringLiteral("1")) << "the stored η, not the space type's default";
    EXPECT_EQ(input->LTempv->text(), QStringLiteral("Температура воздуха в помещение, °C"));

    // A text that is no number is refused with its field named; nothing is stored.
    const double storedTg = records::loadConditions(*state.store, state.current.id)->Tg;
    input->txtTg->setText("abc");
    dialogs.clear();
    EXPECT_FALSE(input->save());
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Ввод данных"));
    EXPECT_TRUE(dialogs.calls[0].text.contains(QStringLiteral("Температура жидкости в проливе")));
    EXPECT_EQ(records::loadConditions(*state.store, state.current.id)->Tg, storedTg);
}

TEST_F(Rules, SubstanceFilterAndPlaceholder)
{
    frmInput* input = createCalculation(QStringLiteral("Фильтр"));
    ASSERT_NE(input, nullptr);
    click(input->Command5);
    auto* e = editor();
    ASSERT_NE(e, nullptr);
    QStringList names;
    for (int i = 0; i < e->Combo1->count(); ++i)
        names << e->Combo1->itemText(i);
    EXPECT_EQ(names, (QStringList{"аммиак", "Бутан", "Пропан"}));
    EXPECT_EQ(e->Adiab->text(), QStringLiteral("1,31")) << "the first substance's data";
    e->txtFiltr->setText(QStringLiteral("ан"));
    EXPECT_EQ(e->Combo1->count(), 2);
    EXPECT_EQ(e->Combo1->currentText(), QStringLiteral("Бутан"));
    e->txtFiltr->setText(QStringLiteral("Ан"));  // the filter is case-sensitive
    EXPECT_EQ(e->Combo1->count(), 1);
    EXPECT_EQ(e->Combo1->currentText(), QStringLiteral("нет вещест по фильтру"));
    EXPECT_FALSE(e->Combo1->isEnabled());
    EXPECT_FALSE(e->Command2->isEnabled());
    EXPECT_FALSE(e->Command6->isEnabled());
    EXPECT_FALSE(e->mnuSave->isEnabled());
    EXPECT_FALSE(e->save());
    EXPECT_TRUE(records::blocksOf(*state.store, state.current.id).isEmpty());
    e->txtFiltr->clear();
    EXPECT_TRUE(e->Command2->isEnabled());
    EXPECT_EQ(e->Combo1->count(), 3);
    e->txtFiltr->setText("Про");
    e->cmdGrpog->setCurrentIndex(1);
    EXPECT_TRUE(e->txtFiltr->text().isEmpty());
    EXPECT_EQ(e->Combo1->currentText(), QStringLiteral("Бензин"));
    // "Фильтр" saves the block.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    click(e->Command6);
    EXPECT_EQ(records::blocksOf(*state.store, state.current.id).size(), 1);
}

TEST_F(Rules, EditorFieldsDensityAndHydrodynamicCoefficient)
{
    frmInput* input = createCalculation(QStringLiteral("Смежный"));
    ASSERT_NE(input, nullptr);
    state.heatInflow = HeatInflow{2, 1, 2, 3};
    click(input->Command15);
    auto* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Id->text(), "2");
    EXPECT_EQ(state.heatInflow, HeatInflow{}) << "a new adjacent block starts without heat-inflow state";
    EXPECT_FALSE(e->Id->isEnabled());
    EXPECT_FALSE(e->Sk_teploper_GF->isEnabled());

    struct Case {
        const char* typed;
        const char* after;
        int slider;
        bool notice;
    };
    const Case cases[] = {{"0,3", "0,4", 40, true}, {"0,85", "0,8", 80, true}, {"0,55", "0,55", 55, false}};
    for (const auto& c : cases) {
        dialogs.clear();
        e->Koef_gidro->setText(QString::fromUtf8(c.typed));
        EXPECT_TRUE(e->Koef_gidro->checkValue());
        EXPECT_EQ(e->Koef_gidro->text(), QString::fromUtf8(c.after));
        EXPECT_EQ(e->HScroll1->value(), c.slider);
        EXPECT_EQ(dialogs.calls.size(), c.notice ? 1u : 0u) << c.typed;
        if (c.notice) {
            EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
        }
    }
    e->HScroll1->setValue(72);
    EXPECT_EQ(e->Koef_gidro->text(), QStringLiteral("0,72"));

    e->Combo1->setCurrentIndex(e->Combo1->findText(QStringLiteral("Пропан")));
    e->Temp->setText("20");
    click(e->Command3);
    EXPECT_EQ(e->Plotn_PGF->text(), QStringLiteral("1,968"));  // 44,1 / 22,413 × 293,15 / 293,15

    // Known masses of an adjacent block: both boxes hide the outflow inputs.
    e->Check1->setChecked(true);
    EXPECT_TRUE(e->G1->isVisibleTo(e));
    EXPECT_FALSE(e->Command5->isVisibleTo(e)) << "the mass arriving from an adjacent block is not computed";
    EXPECT_FALSE(e->Plotn_PGF->isVisibleTo(e));
    EXPECT_FALSE(e->Adiab->isVisibleTo(e));
    EXPECT_FALSE(e->labelOf("Adiab")->isVisibleTo(e));
    EXPECT_FALSE(e->txtVist->isVisibleTo(e));
    EXPECT_FALSE(e->Check3->isVisibleTo(e));
    EXPECT_TRUE(e->Davl->isVisibleTo(e));
    e->Check2->setChecked(true);
    EXPECT_FALSE(e->V_GF->isVisibleTo(e));
    EXPECT_FALSE(e->labelOf("V_GF")->isVisibleTo(e));
    EXPECT_FALSE(e->S_sech->isVisibleTo(e));
    EXPECT_FALSE(e->Davl->isVisibleTo(e));
    EXPECT_FALSE(e->T->isVisibleTo(e));
    EXPECT_FALSE(e->txtVistG->isVisibleTo(e));
    e->Check1->setChecked(false);
    EXPECT_TRUE(e->S_sech->isVisibleTo(e));
    EXPECT_TRUE(e->txtVist->isVisibleTo(e));
    EXPECT_TRUE(e->Check3->isVisibleTo(e));
    e->Check5->setChecked(true);
    EXPECT_TRUE(e->pMi->isVisibleTo(e));
    e->G2->setText(QStringLiteral("3,5"));
    e->Name_blok->setText(QStringLiteral("Колонна"));
    state.heatInflow = HeatInflow{1, 4, 5, 6};
    dialogs.answers = {ui::Answer::Yes};
    ASSERT_TRUE(e->save());
    const auto stored = records::findBlock(*state.store, state.current.id, 2);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->G1, 0);
    EXPECT_EQ(stored->G2, 1);
    EXPECT_DOUBLE_EQ(stored->znG2, 3.5);
    EXPECT_DOUBLE_EQ(stored->Koef_gidro, 0.72);
    EXPECT_DOUBLE_EQ(stored->Plotn_PGF, 1.968);
    EXPECT_DOUBLE_EQ(stored->formula, 1);
    EXPECT_DOUBLE_EQ(stored->per3, 6);
    EXPECT_EQ(stored->mi, 1);
}

// "Рассчитать" of the main block's known vapour mass gives G1 as a run would:
// ρ′·V′·(P/P0)·(T0/T) with absolute temperatures; an adjacent block has no
// such button, and a temperature at absolute zero is refused.
TEST_F(Rules, CalculateButtonGivesTheVapourMassOfTheMainBlock)
{
    frmInput* input = createCalculation(QStringLiteral("Масса ПГФ"));
    ASSERT_NE(input, nullptr);
    click(input->Command5);
    auto* e = editor();
    ASSERT_NE(e, nullptr);
    EXPECT_FALSE(e->Command5->isVisibleTo(e));
    e->Check1->setChecked(true);
    ASSERT_TRUE(e->Command5->isVisibleTo(e));
    e->Plotn_PGF->setText(QStringLiteral("3"));
    e->V_PGF->setText(QStringLiteral("10"));
    e->Davl->setText(QStringLiteral("1"));
    const struct {
        const char* temp;
        const char* G1;
    } cases[] = {{"150", "205,17"}, {"-30", "357,05"}, {"0", "317,83"}, {"20", "296,15"}};
    for (const auto& c : cases) {
        e->Temp->setText(QString::fromUtf8(c.temp));
        click(e->Command5);
        EXPECT_EQ(e->G1->text(), QString::fromUtf8(c.G1)) << c.temp;
    }
    dialogs.clear();
    e->Temp->setText(QStringLiteral("-273,15"));
    click(e->Command5);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral(
                                      "Внимание!|Регламентированная температура должна быть выше абсолютного нуля "
                                      "(-273,15 °C).")});
    EXPECT_EQ(e->G1->text(), QStringLiteral("296,15"));
    e->Check1->setChecked(false);
    EXPECT_FALSE(e->Command5->isVisibleTo(e));
}

TEST_F(Rules, Screenshots)
{
    frmInput* input = createCalculation(QStringLiteral("Установка сжиженных газов, резервуарный парк"));
    ASSERT_NE(input, nullptr);
    snapshot(visibleScreen("frmInput"), "frmInput_empty");
    click(input->Command5);
    auto* e = editor();
    e->resize(1000, 740);
    snapshot(e, "frmBlok_main");
    enterBlock(QStringLiteral("Горизонтальный резервуар сжиженного пропана Р-1 объемом 50 куб.м"),
               QStringLiteral("Пропан"), "42,5", "20");
    click(e->Command1);
    for (const char* name : {"Трубопровод подачи жидкого пропана Ду 80 от насоса Н-1 до резервуара", "Насос Н-1"}) {
        click(input->Command15);
        enterBlock(QString::fromUtf8(name), QStringLiteral("Бензин"), "0,25", "20");
        if (QString::fromUtf8(name) == QStringLiteral("Насос Н-1")) {
            editor()->resize(1340, 740);
            snapshot(editor(), "frmBlok_adjacent");
        }
        click(editor()->Command1);
    }
    input->resize(1366, 740);
    snapshot(input, "frmInput");
    input->Check2->setChecked(true);
    input->Check3->setChecked(true);
    input->Check4->setChecked(true);
    snapshot(input, "frmInput_checks");
    trigger(input, "mnuReturn");
    snapshot(openList(), "frmLoad");
}
