#include "directories/directories_fixture.h"

#include "screens/frmBlok.h"
#include "screens/frmInput.h"
#include "ui/numeric_edit.h"

using namespace veltron;
using namespace veltron::test;
using directories::frmVvo;
using screens::frmInput;

namespace {

class Substances : public Directories {
protected:
    frmVvo* open() { return openDirectory<frmVvo>("frmVvo"); }

    // Opens the panel on a substance of the grid.
    void change(frmVvo* v, const QString& name)
    {
        select(v->Tabl_Vva, name);
        click(v->Command5);
        ASSERT_TRUE(v->editing());
    }
    std::optional<records::SubstanceRecord> stored(const QString& name)
    {
        return records::findSubstanceRecord(*state.store, name);
    }
    void insert(const QString& name, const QVariant& kind)
    {
        state.store->exec("INSERT INTO SubstChar (Name, Vid_vva, Mol_massa) VALUES (?, ?, ?)", {name, kind, 10.0});
    }

    const QString kQuestion = QStringLiteral("В н и м а н и е ! ! !|Неправильно введенные данные, могут привести к "
                                             "ошибке в расчете! Продолжить сохранение?");
};

}  // namespace

// The filter finds a part of the name whatever the case, with «ё» and «е»
// alike, and is applied by the button.
TEST_F(Substances, FilterIsAPartOfTheNameInAnyCaseAppliedByTheButton)
{
    for (const char* name : {"н-Бутан", "изо-Бутан", "БУТЕН-1", "бутен-2", "Изобутилен", "Ёлочный спирт", "Метилен"})
        insert(QString::fromUtf8(name), 1);
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    // Every substance in Russian alphabetical order, whatever the case.
    EXPECT_EQ(column0(v->Tabl_Vva), (QStringList{"аммиак", "Бензин", "Бутан", "БУТЕН-1", "бутен-2", "Ёлочный спирт",
                                                 "изо-Бутан", "Изобутилен", "Метилен", "н-Бутан", "Пропан"}));
    EXPECT_EQ(screens::cellText(v->Tabl_Vva, 0, 7), QStringLiteral("УТ парообразования ГЖ, кДж/кг"));

    const QStringList butanesAndButenes{"Бутан", "БУТЕН-1", "бутен-2", "изо-Бутан", "Изобутилен", "н-Бутан"};
    const struct {
        const char* filter;
        QStringList shown;
    } cases[] = {
        {"бут", butanesAndButenes},
        {"БУТ", butanesAndButenes},
        {"Бут", butanesAndButenes},
        {"  бУт ", butanesAndButenes},
        {"бутан", {"Бутан", "изо-Бутан", "н-Бутан"}},
        {"АММИАК", {"аммиак"}},
        {"елоч", {"Ёлочный спирт"}},  // «е» finds «ё»
        {"ЁЛОЧ", {"Ёлочный спирт"}},
        {"илён", {"Изобутилен", "Метилен"}},  // and «ё» finds «е»
        {"xyz", {}},
        {"", {"аммиак", "Бензин", "Бутан", "БУТЕН-1", "бутен-2", "Ёлочный спирт", "изо-Бутан", "Изобутилен", "Метилен",
              "н-Бутан", "Пропан"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        v->txtFiltr->setText(QString::fromUtf8(c.filter));
        click(v->Command7);
        EXPECT_EQ(!v->Tabl_Vva->isHidden(), !c.shown.isEmpty());
        EXPECT_EQ(!v->Label2->isHidden(), c.shown.isEmpty());
        if (!c.shown.isEmpty()) {
            EXPECT_EQ(column0(v->Tabl_Vva), c.shown);
        }
    }
    // Typing alone does not filter.
    v->txtFiltr->setText(QStringLiteral("xyz"));
    EXPECT_EQ(column0(v->Tabl_Vva).size(), 11);
}

TEST_F(Substances, LongNamesGetRowsOfMoreLines)
{
    const QString n32(32, QChar(u'а'));
    const QString n33(33, QChar(u'б'));
    const QString n65(65, QChar(u'в'));
    const QString n66(66, QChar(u'г'));
    for (const QString& n : {n32, n33, n65, n66})
        insert(n, 1);
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    const auto height = [&](const QString& n) { return v->Tabl_Vva->rowHeight(rowOf(v->Tabl_Vva, n)); };
    EXPECT_EQ(height(n32), height(QStringLiteral("Бутан")));
    EXPECT_GT(height(n33), height(n32));
    EXPECT_EQ(height(n65), height(n33));
    EXPECT_GT(height(n66), height(n65));
}

TEST_F(Substances, KindCodesInTheGridAndThePanel)
{
    insert(QStringLiteral("Смесь-3"), 3);
    insert(QStringLiteral("Код-7"), 7);
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    const auto kindIn = [&](const char* name) {
        return screens::cellText(v->Tabl_Vva, rowOf(v->Tabl_Vva, QString::fromUtf8(name)), 1);
    };
    EXPECT_EQ(kindIn("Пропан"), QStringLiteral("вещество"));
    EXPECT_EQ(kindIn("Бензин"), QStringLiteral("нефтепродукт"));
    EXPECT_EQ(kindIn("Смесь-3"), QStringLiteral("смесь"));
    EXPECT_EQ(kindIn("Код-7"), QString());

    change(v, QStringLiteral("Бензин"));
    EXPECT_EQ(v->cmdGrpog->currentText(), QStringLiteral("смесь"));
    click(v->Command4);

    // A code outside the two kinds shows no kind and is kept on saving.
    change(v, QStringLiteral("Код-7"));
    EXPECT_EQ(v->cmdGrpog->currentIndex(), -1);
    v->Dop_inf->setText(QStringLiteral("примечание"));
    dialogs.answers = {ui::Answer::Yes};
    click(v->Command1);
    EXPECT_EQ(stored("Код-7")->Vid_vva, 7);
    EXPECT_EQ(stored("Код-7")->Dop_info, QStringLiteral("примечание"));
}

TEST_F(Substances, AnEmptyNumberShowsZeroAndStaysEmptyUntilEdited)
{
    state.store->exec("UPDATE SubstChar SET Tepl_sgorGF = 46000, T_kip = -42 WHERE Name = ?", {QStringLiteral("Пропан")});
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    change(v, QStringLiteral("Пропан"));
    EXPECT_EQ(v->T_kip->text(), QStringLiteral("-42"));
    EXPECT_EQ(v->Teploem_GF->text(), QStringLiteral("0"));
    EXPECT_EQ(v->T_vsp->text(), QStringLiteral("0"));
    EXPECT_TRUE(v->lblGaps->text().contains(QStringLiteral("удельная теплоемкость жидкой фазы")));
    QTest::keyClicks(v->Teploem_GF, QStringLiteral(".5"));  // typed: "0,5"
    dialogs.answers = {ui::Answer::Yes};
    click(v->Command1);
    const auto s = stored(QStringLiteral("Пропан"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Teploem_GF, 0.5);
    EXPECT_FALSE(s->Tvsp.has_value());
    EXPECT_FALSE(s->Tepl_paroobr.has_value());
    EXPECT_EQ(s->T_kip, -42.0);
    EXPECT_EQ(s->Mol_massa, 44.1);
    // The field the directory does not show is kept.
    EXPECT_EQ(state.store->query("SELECT Tepl_sgorGF FROM SubstChar WHERE Name = ?", {QStringLiteral("Пропан")})
                  .first().value(0).toDouble(), 46000.0);
}

TEST_F(Substances, NewSubstanceIsSavedOnlyWithANameAndAfterTheQuestion)
{
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    EXPECT_FALSE(v->Command5->isEnabled());
    EXPECT_FALSE(v->Command3->isEnabled());
    EXPECT_FALSE(v->mnuSave->isVisible());
    click(v->Command2);
    EXPECT_TRUE(v->Frame1->isVisible());
    EXPECT_FALSE(v->Frame2->isEnabled());
    EXPECT_FALSE(v->mnuPred->isEnabled());
    EXPECT_FALSE(v->mnuExit->isEnabled());
    EXPECT_TRUE(v->mnuSave->isVisible());
    EXPECT_FALSE(v->mnuSave1->isVisible());
    EXPECT_TRUE(v->Command6->isHidden());
    EXPECT_EQ(v->cmdGrpog->currentText(), QStringLiteral("вещество"));
    EXPECT_EQ(v->Mol_massa->text(), QStringLiteral("0"));
    // No name, no save.
    EXPECT_FALSE(v->Command1->isEnabled());
    EXPECT_FALSE(v->mnuSave->isEnabled());
    v->mnuSave->trigger();
    EXPECT_TRUE(dialogs.calls.empty());
    v->Name_Vva->setText(QStringLiteral("   "));
    EXPECT_FALSE(v->Command1->isEnabled());

    v->Name_Vva->setText(QStringLiteral("Метанол 'технический'"));
    EXPECT_TRUE(v->Command1->isEnabled());
    v->cmdGrpog->setCurrentIndex(1);
    v->txtBruttoF->setText(QStringLiteral("CH4O"));
    v->Mol_massa->setText(QStringLiteral("32,04"));
    v->T_kip->setText(QStringLiteral("64,7"));
    v->T_vsp->setText(QStringLiteral("-6"));
    v->txtA->setText(QStringLiteral("7.2"));  // a free box takes a point too
    v->Tepl_paroobr->setText(QStringLiteral("1100"));
    v->Teploem_GF->setText(QStringLiteral("2,5"));
    v->txt_k->setText(QStringLiteral("1,2"));
    dialogs.answers = {ui::Answer::No};
    click(v->Command1);
    EXPECT_EQ(dialogs.messages(), QStringList{kQuestion});
    EXPECT_TRUE(v->editing());
    EXPECT_EQ(v->Name_Vva->text(), QStringLiteral("Метанол 'технический'"));
    EXPECT_FALSE(stored(QStringLiteral("Метанол 'технический'")));

    dialogs.answers = {ui::Answer::Yes};
    trigger(v, "mnuSave");
    EXPECT_FALSE(v->editing());
    EXPECT_FALSE(v->mnuSave->isVisible());
    EXPECT_FALSE(v->mnuCancel->isVisible());
    EXPECT_TRUE(v->mnuPred->isEnabled());
    const auto s = stored(QStringLiteral("Метанол 'технический'"));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Vid_vva, 2);
    EXPECT_EQ(s->BruttoFormula, QStringLiteral("CH4O"));
    EXPECT_EQ(s->Mol_massa, 32.04);
    EXPECT_EQ(s->T_kip, 64.7);
    EXPECT_EQ(s->Tvsp, -6.0);
    EXPECT_EQ(s->pA, 7.2);
    EXPECT_EQ(s->Teploem_GF, 2.5);
    // A new substance's boxes start at 0, which q' and the density may keep:
    // a substance that does not burn, and one without a liquid phase.
    EXPECT_EQ(s->Tepl_sgorPGF, 0.0);
    EXPECT_EQ(s->Plotn_GF, 0.0);
    EXPECT_GE(rowOf(v->Tabl_Vva, QStringLiteral("Метанол 'технический'")), 1);
}

TEST_F(Substances, ABoxWithoutANumberStopsTheSave)
{
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    click(v->Command2);
    v->Name_Vva->setText(QStringLiteral("Новое"));
    v->txtNKPR->setText(QStringLiteral("около 2"));
    click(v->Command1);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Ввод данных"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("Проверьте правильность ввода: в поле «НКПР  (приведен к 25 °C)» "
                                                    "не число («около 2»). Вещество не сохранено."));
    EXPECT_TRUE(v->editing());
    EXPECT_FALSE(stored(QStringLiteral("Новое")));
}

TEST_F(Substances, TheSixCheckedBoxesFollowTheirRules)
{
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    click(v->Command2);
    const struct {
        ui::NumericEdit* box;
        const char* typed;  // into an empty box
        const char* shown;
        const char* left;   // the text when the focus leaves
        bool valid;
    } cases[] = {
        {v->T_vsp, "-5.5", "-5,5", "-5,5", true},
        {v->T_kip, "-5", "-5", "", false},
        {v->Mol_massa, "-5", "5", "", true},  // may stay empty
        {v->Tepl_sgorPGF, "a1", "1", "", false},
        {v->Teploem_GF, ",2", "2", "1,5", true},
        {v->Tepl_paroobr, "12", "12", "1.5", true},  // a point becomes the comma
        {v->txtNKPR, "x.y", "x.y", "x.y", true},   // the other boxes take any text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        c.box->clear();
        QTest::keyClicks(c.box, QString::fromUtf8(c.typed));
        EXPECT_EQ(c.box->text(), QString::fromUtf8(c.shown));
        c.box->setText(QString::fromUtf8(c.left));
        dialogs.clear();
        EXPECT_EQ(c.box->checkValue(), c.valid);
        EXPECT_EQ(dialogs.messages().isEmpty(), c.valid);
    }
    EXPECT_EQ(v->Tepl_paroobr->text(), QStringLiteral("1,5"));
}

TEST_F(Substances, ASubstanceInABlockOfTheCurrentCalculationKeepsItsNameAndCannotBeDeleted)
{
    const records::Calculation other = records::createCalculation(*state.store, QStringLiteral("Другой"));
    calculationWithBlock(QStringLiteral("Склад"), QStringLiteral("Пропан"));
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    change(v, QStringLiteral("Пропан"));
    EXPECT_FALSE(v->Name_Vva->isEnabled());
    v->Mol_massa->setText(QStringLiteral("44,09"));
    dialogs.answers = {ui::Answer::Yes};
    click(v->Command1);
    EXPECT_EQ(stored(QStringLiteral("Пропан"))->Mol_massa, 44.09);

    dialogs.clear();
    select(v->Tabl_Vva, QStringLiteral("Пропан"));
    click(v->Command3);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("Невозможно удалить! Данное вещество введено в один из блоков!"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(stored(QStringLiteral("Пропан")));

    // Another substance changes its name freely.
    change(v, QStringLiteral("Бутан"));
    EXPECT_TRUE(v->Name_Vva->isEnabled());
    click(v->Command4);

    // With another calculation current the substance can go.
    state.current = other;
    dialogs.clear();
    select(v->Tabl_Vva, QStringLiteral("Пропан"));
    dialogs.answers = {ui::Answer::Yes};
    click(v->Command3);
    EXPECT_EQ(dialogs.messages(),
              QStringList{QStringLiteral("В н и м а н и е ! ! !|Удалить вещество «Пропан»?")});
    EXPECT_FALSE(stored(QStringLiteral("Пропан")));
    EXPECT_EQ(rowOf(v->Tabl_Vva, QStringLiteral("Пропан")), -1);
    EXPECT_FALSE(v->Command3->isEnabled());
}

TEST_F(Substances, ANameAlreadyThereIsRefusedAndSaveAsAddsACopy)
{
    const QString taken = QStringLiteral("Внимание!|Вещество «Бутан» уже есть в справочнике. Введите другое наименование.");
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    // New.
    click(v->Command2);
    v->Name_Vva->setText(QStringLiteral("Бутан"));
    click(v->Command1);
    EXPECT_EQ(dialogs.messages(), QStringList{taken});
    EXPECT_TRUE(v->editing());
    click(v->Command4);
    // Renamed onto another one.
    dialogs.clear();
    change(v, QStringLiteral("Пропан"));
    EXPECT_TRUE(v->Command6->isVisible());
    EXPECT_TRUE(v->mnuSave1->isVisible());
    v->Name_Vva->setText(QStringLiteral("Бутан"));
    click(v->Command1);
    EXPECT_EQ(dialogs.messages(), QStringList{taken});
    // Save as: the name asked for must be new too.
    dialogs.clear();
    dialogs.texts = {QStringLiteral("Бутан")};
    click(v->Command6);
    EXPECT_EQ(dialogs.messages(), QStringList{taken});
    ASSERT_EQ(dialogs.calls[0].kind, QStringLiteral("text"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("Наименование нового вещества:|Бутан"));
    // Cancelled: nothing.
    dialogs.clear();
    dialogs.texts = {std::nullopt};
    click(v->Command6);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    // A new name: a further record with the panel's values; the original stays.
    dialogs.clear();
    v->Name_Vva->setText(QStringLiteral("Пропан"));
    v->Mol_massa->setText(QStringLiteral("44,5"));
    dialogs.texts = {QStringLiteral("Пропан технический")};
    dialogs.answers = {ui::Answer::Yes};
    click(v->Command6);
    EXPECT_EQ(dialogs.messages(), QStringList{kQuestion});
    EXPECT_FALSE(v->editing());
    EXPECT_EQ(stored(QStringLiteral("Пропан технический"))->Mol_massa, 44.5);
    EXPECT_EQ(stored(QStringLiteral("Пропан"))->Mol_massa, 44.1);
    EXPECT_EQ(countNamed("SubstChar", QStringLiteral("Бутан")), 1);
}

TEST_F(Substances, IncompleteSubstancesAreMarkedWithTheMissingFieldsNamed)
{
    // The fixture's substances have no boiling point, heats or heat capacity.
    state.store->exec("INSERT INTO SubstChar (Name, Vid_vva, Mol_massa, T_kip, Tvsp, Tepl_sgorPGF, Tepl_paroobr, "
                      "Teploem_GF, pA, pB, pCa) VALUES (?, 1, 78.11, 80.1, -11, 40576, 394, 1.72, 6.0, 1211, 221)",
                      {QStringLiteral("Бензол")});
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    const auto nameCell = [&](const char* n) { return v->Tabl_Vva->item(rowOf(v->Tabl_Vva, QString::fromUtf8(n)), 0); };
    EXPECT_FALSE(nameCell("Бутан")->icon().isNull());
    EXPECT_TRUE(nameCell("Бутан")->toolTip().contains(
        QStringLiteral("температура кипения, удельная теплота сгорания ПГФ, удельная теплота парообразования, "
                       "удельная теплоемкость жидкой фазы")));
    EXPECT_TRUE(nameCell("Бензол")->icon().isNull());
    EXPECT_TRUE(nameCell("Бензол")->toolTip().isEmpty());
    EXPECT_TRUE(v->lblMissing->isVisible());
    snapshot(v, QStringLiteral("frmVvo-browsing"));

    change(v, QStringLiteral("Бутан"));
    EXPECT_TRUE(v->lblGaps->isVisible());
    snapshot(v, QStringLiteral("frmVvo-editing"));
    click(v->Command4);
    change(v, QStringLiteral("Бензол"));
    EXPECT_FALSE(v->lblGaps->isVisible());
}

TEST_F(Substances, EveryShippedSubstanceHasWhatEveryRunReads)
{
    TempFolder fresh;
    state.store = db::Store::openEmbedded(fresh.path());
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    ASSERT_GT(v->Tabl_Vva->rowCount(), 20);
    for (int r = 1; r < v->Tabl_Vva->rowCount(); ++r)
        EXPECT_TRUE(v->Tabl_Vva->item(r, 0)->icon().isNull()) << screens::cellText(v->Tabl_Vva, r, 0).toStdString();
    EXPECT_FALSE(v->lblMissing->isVisible());
    v->resize(1400, 700);
    snapshot(v, QStringLiteral("frmVvo-shipped"));
}

// Each number the formulas use is refused outside its physical range, with
// the field and the range named; nothing is written and the panel stays.
TEST_F(Substances, AValueOutsideItsPhysicalRangeIsRefusedWithTheFieldAndTheRange)
{
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    const struct {
        ui::NumericEdit* frmVvo::*box;
        const char* typed;
        const char* field;
        const char* range;
    } cases[] = {
        {&frmVvo::Mol_massa, "0", "Молярная масса, кг/кмоль", "больше 0"},
        {&frmVvo::Tepl_paroobr, "0", "Удельная теплота парообразования, кДж/кг", "больше 0"},
        {&frmVvo::Teploem_GF, "0", "Удельная теплоемкость жидкой фазы, кДж/(кг·К)", "больше 0"},
        {&frmVvo::txt_k, "0", "Показатель адиабаты", "больше 1 и не больше 2"},
        {&frmVvo::txt_k, "1", "Показатель адиабаты", "больше 1 и не больше 2"},
        {&frmVvo::txt_k, "2,5", "Показатель адиабаты", "больше 1 и не больше 2"},
        {&frmVvo::T_kip, "-273,15", "Температура кипения при нормальных условиях, °C", "больше -273,15"},
        {&frmVvo::T_kip, "-300", "Температура кипения при нормальных условиях, °C", "больше -273,15"},
        {&frmVvo::txtPlotnGF, "-5", "Плотность жидкой фазы, кг/м3", "не меньше 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.typed);
        click(v->Command2);
        v->Name_Vva->setText(QStringLiteral("Проба"));
        v->Mol_massa->setText(QStringLiteral("86,18"));
        v->T_kip->setText(QStringLiteral("68,7"));
        v->Tepl_sgorPGF->setText(QStringLiteral("45100"));
        v->Tepl_paroobr->setText(QStringLiteral("335"));
        v->Teploem_GF->setText(QStringLiteral("2,27"));
        v->txt_k->setText(QStringLiteral("2"));  // the upper bound belongs to the range
        (v->*c.box)->setText(QString::fromUtf8(c.typed));
        dialogs.clear();
        click(v->Command1);
        expectOutOfRange(c.field, c.typed, c.range, QStringLiteral("Вещество не сохранено."));
        EXPECT_TRUE(v->editing());
        EXPECT_FALSE(stored(QStringLiteral("Проба")));
        click(v->Command4);
    }
}

// A store of an older version may hold zeros where a property must be
// positive: such a substance opens, is marked in the directory and in the
// block editor's list, and its record stays as it is.
TEST_F(Substances, AZeroWhereThePropertyMustBePositiveIsMarkedAndKept)
{
    state.store->exec("INSERT INTO SubstChar (Name, Vid_vva, Mol_massa, T_kip, Tepl_sgorPGF, Tepl_paroobr, Teploem_GF, "
                      "PokAdiab) VALUES (?, 1, 86.18, 68.7, 45100, 0, 2.27, 0)",
                      {QStringLiteral("Гексан из старой базы")});
    const auto before = stored(QStringLiteral("Гексан из старой базы"));
    frmVvo* v = open();
    ASSERT_NE(v, nullptr);
    const int row = rowOf(v->Tabl_Vva, QStringLiteral("Гексан из старой базы"));
    ASSERT_GE(row, 1);
    EXPECT_FALSE(v->Tabl_Vva->item(row, 0)->icon().isNull());
    EXPECT_TRUE(v->Tabl_Vva->item(row, 0)->toolTip().contains(
        QStringLiteral("удельная теплота парообразования = 0, показатель адиабаты = 0")))
        << v->Tabl_Vva->item(row, 0)->toolTip().toStdString();
    EXPECT_EQ(screens::cellText(v->Tabl_Vva, row, 7), QStringLiteral("0"));
    EXPECT_NE(v->Tabl_Vva->item(row, 7)->background(), v->Tabl_Vva->item(row, 6)->background());
    EXPECT_TRUE(v->lblMissing->isVisible());
    change(v, QStringLiteral("Гексан из старой базы"));
    EXPECT_TRUE(v->lblGaps->text().contains(QStringLiteral("удельная теплота парообразования = 0")));
    click(v->Command4);
    trigger(v, "mnuPred");
    EXPECT_EQ(stored(QStringLiteral("Гексан из старой базы")), before);

    frmInput* input = createCalculation(QStringLiteral("Блоки"));
    ASSERT_NE(input, nullptr);
    click(input->Command5);
    auto* e = editor();
    ASSERT_NE(e, nullptr);
    const int item = e->Combo1->findText(QStringLiteral("Гексан из старой базы"));
    ASSERT_GE(item, 0);
    EXPECT_FALSE(e->Combo1->itemIcon(item).isNull());
    e->Combo1->setCurrentIndex(item);
    EXPECT_TRUE(e->lblGaps->text().contains(QStringLiteral("удельная теплота парообразования = 0")));
    EXPECT_EQ(stored(QStringLiteral("Гексан из старой базы")), before);
}
