#include "directories/directories_fixture.h"

#include "app/frmMain1.h"
#include "screens/frmDolya_z.h"

#include <QMenu>

using namespace veltron;
using namespace veltron::test;
using directories::ListDirectory;
using screens::frmInput;

namespace {

class Returns : public Directories {
protected:
    // Adds an entry through the panel of the small directory on screen.
    static void addEntry(ListDirectory* d, const QString& name, const QString& value)
    {
        click(d->Command2);
        d->Name_Object->setText(name);
        for (auto* box : d->values)
            box->setText(value);
        click(d->Command1);
    }
    static QStringList items(const QComboBox* box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }
};

}  // namespace

TEST_F(Returns, InputScreenToSubstancesAndSurfacesAndBack)
{
    frmInput* input = createCalculation(QStringLiteral("Цех"));
    ASSERT_NE(input, nullptr);
    trigger(input, "mnuVva");
    auto* vvo = visible<directories::frmVvo>("frmVvo");
    ASSERT_NE(vvo, nullptr);
    EXPECT_FALSE(input->isVisible());
    trigger(vvo, "mnuPred");
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(visible<directories::frmVvo>("frmVvo"), nullptr);

    // The surface shown stays, with its values read again; the new one is listed.
    input->Combo4->setCurrentIndex(input->Combo4->findText(QStringLiteral("Песок")));
    click(input->Command1);
    auto* surfaces = visible<ListDirectory>("frmBD_Type");
    ASSERT_NE(surfaces, nullptr);
    EXPECT_FALSE(input->isVisible());
    addEntry(surfaces, QStringLiteral("Асфальт"), QStringLiteral("1"));
    select(surfaces->grid, QStringLiteral("Песок"));
    click(surfaces->Command5);
    surfaces->values[1]->setText(QStringLiteral("0,6"));  // lyambda
    click(surfaces->Command1);
    trigger(surfaces, "mnuPred");
    EXPECT_TRUE(input->isVisible());
    EXPECT_EQ(items(input->Combo4), (QStringList{"Асфальт", "Бетон", "Песок"}));
    EXPECT_EQ(input->Combo4->currentText(), QStringLiteral("Песок"));
    EXPECT_EQ(input->Koef_teplopr->text(), QStringLiteral("0,6"));

    // The menu item opens the same directory.
    trigger(input, "mnuPoverhn");
    ASSERT_NE(visible<ListDirectory>("frmBD_Type"), nullptr);
    visible<ListDirectory>("frmBD_Type")->close();  // the window frame returns too
    settle();
    EXPECT_TRUE(input->isVisible());
}

TEST_F(Returns, ZDialogToFuelKindsAndBack)
{
    frmInput* input = createCalculation(QStringLiteral("Помещение"));
    ASSERT_NE(input, nullptr);
    input->Option4->click();  // in a room: the fuel kinds are offered
    click(input->Command2);
    auto* z = visible<screens::frmDolya_z>("frmDolya_z");
    ASSERT_NE(z, nullptr);
    const int kinds = z->Combo1->count();
    click(z->Command6);
    auto* fuel = visible<ListDirectory>("frmBD_Goryuch");
    ASSERT_NE(fuel, nullptr);
    EXPECT_FALSE(z->isVisible());
    addEntry(fuel, QStringLiteral("Пыль угольная"), QStringLiteral("0,4"));
    trigger(fuel, "mnuPred");
    ASSERT_TRUE(z->isVisible());
    EXPECT_EQ(z->Combo1->count(), kinds + 1);
    EXPECT_EQ(z->Combo1->itemText(kinds), QStringLiteral("Пыль угольная"));
    EXPECT_EQ(z->Tabl_Name->rowCount(), kinds + 2);
    EXPECT_FALSE(input->isVisible());
}

TEST_F(Returns, BlockEditorToSubstancesAndBackWithTheMarkShown)
{
    frmInput* input = createCalculation(QStringLiteral("Блоки"));
    ASSERT_NE(input, nullptr);
    click(input->Command5);
    auto* e = editor();
    ASSERT_NE(e, nullptr);
    e->Combo1->setCurrentIndex(e->Combo1->findText(QStringLiteral("Пропан")));
    // The fixture's substances lack the boiling point and the heats.
    EXPECT_FALSE(e->Combo1->itemIcon(e->Combo1->currentIndex()).isNull());
    EXPECT_TRUE(e->lblGaps->isVisible());
    EXPECT_TRUE(e->lblGaps->text().contains(QStringLiteral("удельная теплоемкость жидкой фазы")));
    snapshot(e, QStringLiteral("frmBlok-marked"));

    click(e->cmdVva);
    auto* vvo = visible<directories::frmVvo>("frmVvo");
    ASSERT_NE(vvo, nullptr);
    EXPECT_FALSE(e->isVisible());
    click(vvo->Command2);
    vvo->Name_Vva->setText(QStringLiteral("Азот жидкий"));
    for (auto* box : {vvo->Mol_massa, vvo->T_kip, vvo->Tepl_sgorPGF, vvo->Tepl_paroobr, vvo->Teploem_GF})
        box->setText(QStringLiteral("1"));
    vvo->txt_k->setText(QStringLiteral("1,4"));
    dialogs.answers = {ui::Answer::Yes};
    click(vvo->Command1);
    trigger(vvo, "mnuPred");
    ASSERT_TRUE(e->isVisible());
    EXPECT_FALSE(input->isVisible());
    EXPECT_EQ(e->Combo1->currentText(), QStringLiteral("Пропан"));
    const int added = e->Combo1->findText(QStringLiteral("Азот жидкий"));
    ASSERT_GE(added, 0);
    EXPECT_TRUE(e->Combo1->itemIcon(added).isNull());
    e->Combo1->setCurrentIndex(added);
    EXPECT_FALSE(e->lblGaps->isVisible());
}

TEST_F(Returns, MainMenuToTheOrganisationListsAndBack)
{
    ui::navigator().open(QStringLiteral("frmMain1"));
    settle();
    auto* menu = visible<frmMain1>("frmMain1");
    ASSERT_NE(menu, nullptr);
    for (const char* item : {"mnuDolgn", "mnuIstochnik"}) {
        SCOPED_TRACE(item);
        trigger(menu, item);
        auto* list = visible<directories::frmBD>("frmBD");
        ASSERT_NE(list, nullptr);
        EXPECT_FALSE(menu->isVisible());
        trigger(list, "mnuPred");
        EXPECT_TRUE(menu->isVisible());
    }
}

// The contract the compound list of model II relies on: opened by name, the
// caller hidden; "<<Назад" shows the caller, which then reloads its list.
TEST_F(Returns, CompoundsDirectoryOpenedByNameReturnsToItsCaller)
{
    QWidget* caller = new QWidget;  // destroyed with the other windows at tear-down
    caller->setObjectName(QStringLiteral("caller"));
    caller->show();
    QStringList reloaded;  // the caller's list
    auto* kvv = qobject_cast<ListDirectory*>(ui::openFrom(caller, QStringLiteral("frmBD_KVV"), [&] {
        for (const auto& e : records::directoryEntries(*state.store, records::Directory::Compounds))
            reloaded << e.Name;
    }));
    ASSERT_NE(kvv, nullptr);
    EXPECT_EQ(kvv->windowTitle(), QStringLiteral("Твердые и жидкие химически нестабильные соединения"));
    EXPECT_FALSE(caller->isVisible());
    addEntry(kvv, QStringLiteral("Октоген"), QStringLiteral("5680"));
    trigger(kvv, "mnuPred");
    EXPECT_TRUE(caller->isVisible());
    EXPECT_TRUE(reloaded.contains(QStringLiteral("Октоген")));
    EXPECT_EQ(countNamed("Explosives", QStringLiteral("Октоген")), 1);

    // A name nobody registered opens nothing and says so; the caller stays.
    EXPECT_EQ(ui::openFrom(caller, QStringLiteral("frmNoSuchScreen")), nullptr);
    EXPECT_EQ(dialogs.messages(), QStringList{QStringLiteral("Внимание!|Эта часть программы ещё не реализована.")});
    EXPECT_TRUE(caller->isVisible());
}
