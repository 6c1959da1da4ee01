// Model II on its real screens: the input screen, the run, the results
// screen with the zones and the calculator, and the report.
#include "models/models_fixture.h"

#include "app/frmLoad_Rasch.h"
#include "models/frmOutput_KVV.h"
#include "models/frmVzr_KVV.h"
#include "report/docx/document.h"
#include "report/format.h"
#include "screens/form_widgets.h"
#include "screens/frmOutput.h"
#include "screens/zone_map_view.h"
#include "screens/zone_results.h"
#include "ui/desktop.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"
#include "ui/screen.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableWidget>

using namespace veltron;
using models::frmOutput_KVV;
using models::frmVzr_KVV;
using screens::cellText;

namespace {

class ModelII : public test::ModelScreens {
protected:
    frmVzr_KVV* open() { return openModel<frmVzr_KVV>(&frmLoad_Rasch::Option2, "frmVzr_KVV"); }
    frmOutput_KVV* runWith(frmVzr_KVV* in, const QString& mass, const QString& energy)
    {
        in->Massa_G->setText(mass);
        in->Energy->setText(energy);
        click(in->Command1);
        return test::visible<frmOutput_KVV>("frmOutput_KVV");
    }
};

}  // namespace

TEST_F(ModelII, HundredKilogramsRunToTheResultsWithTheirZonesAndOneJournalRow)
{
    state.db().exec("INSERT INTO Explosives (Name, Energy) VALUES (?, ?)", {QStringLiteral("азот 'жидкий'"), 2000.5});
    auto* in = open();
    ASSERT_NE(in, nullptr);
    test::snapshot(in, "frmVzr_KVV");
    test::expectFitsTheDisplay(in);

    // The list in Russian alphabetical order, whatever the case; the first
    // compound is chosen with its energy.
    ASSERT_GE(in->Combo1->count(), 4);
    EXPECT_EQ(in->Combo1->itemText(0), QStringLiteral("Азид свинца"));
    EXPECT_EQ(in->Combo1->itemText(1), QStringLiteral("азот 'жидкий'"));
    EXPECT_EQ(in->Combo1->itemText(2), QStringLiteral("Аммиачная селитра"));
    EXPECT_EQ(in->Energy->text(), QStringLiteral("1540"));
    EXPECT_EQ(in->Massa_G->text(), QStringLiteral("100"));
    EXPECT_TRUE(in->lblNoCompounds->isHidden());
    // A name with an apostrophe is found like any other.
    in->Combo1->setCurrentIndex(1);
    Q_EMIT in->Combo1->activated(1);
    EXPECT_EQ(in->Energy->text(), QStringLiteral("2000,5"));
    const int tnt = in->Combo1->findText(QStringLiteral("Тротил (тринитротолуол)"));
    in->Combo1->setCurrentIndex(tnt);
    Q_EMIT in->Combo1->activated(tnt);
    EXPECT_EQ(in->Energy->text(), QStringLiteral("4520"));
    in->Name_blok->setText(QStringLiteral("Склад 'Север'"));

    auto* out = runWith(in, QStringLiteral("100"), QStringLiteral("4520"));
    ASSERT_NE(out, nullptr);
    EXPECT_FALSE(in->isVisible());
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    EXPECT_EQ(out->Name_blok->text(), QStringLiteral("Склад 'Север'"));
    EXPECT_EQ(out->lKvv->text(), QStringLiteral("Тротил (тринитротолуол)"));
    EXPECT_EQ(out->lMassa->text(), QStringLiteral("100"));
    EXPECT_EQ(out->lqk->text(), QStringLiteral("4520"));
    EXPECT_EQ(out->LWt->text(), QStringLiteral("100,000"));
    const QStringList radii = {"5,566", "8,203", "14,062", "41,015", "82,030"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(cellText(out->zones->tabZone, i + 1, 3), radii[i]);
    EXPECT_EQ(cellText(out->zones->tabZone, 0, 2), QStringLiteral("deltaP, кПа"));
    EXPECT_EQ(cellText(out->zones->tabZone, 5, 0),
              QStringLiteral("граница опасной зоны разрушения остекления зданий и поражения человека, м"));
    EXPECT_NEAR(out->run().result.R0, 1.4648, 5e-5);
    ASSERT_TRUE(state.lastUnstable.has_value());
    EXPECT_EQ(state.lastUnstable->result.R0, out->run().result.R0);
    // The calculator ran for 5 kPa when the screen was shown.
    EXPECT_EQ(out->zones->txtP->text(), QStringLiteral("5"));
    EXPECT_EQ(cellText(out->zones->tabZone, 6, 0), QStringLiteral("расчет для 5 кПа"));
    EXPECT_EQ(out->zones->Kint->text(), QStringLiteral("49,000"));
    EXPECT_TRUE(out->zones->Kstep->text().isEmpty());
    // The map beside the grid shows the same zones and the calculator's.
    auto* map = out->findChild<screens::ZoneMap*>("ZoneMap");
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->isVisible());
    EXPECT_EQ(map->currentLayout().circles[4].metres, out->run().result.Rzone[4]);
    ASSERT_TRUE(map->currentLayout().calculator);
    EXPECT_EQ(map->currentLayout().calculator->metres, out->zones->overpressure()->radius);
    EXPECT_EQ(journal(), QStringList{"Склад 'Север'|Тротил (тринитротолуол)"});
    test::snapshot(out, "frmOutput_KVV");
    test::expectFitsTheDisplay(out);
    expectReportFolderRoundTrip(out, "mnuFolder");

    // "<<Назад" destroys the results and shows the input screen as it was.
    trigger(out, "mnuReturn");
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmVzr_KVV"});
    EXPECT_EQ(in->Combo1->currentText(), QStringLiteral("Тротил (тринитротолуол)"));
    EXPECT_EQ(in->Name_blok->text(), QStringLiteral("Склад 'Север'"));
    expectReportFolderRoundTrip(in, "mnuReports");
    EXPECT_EQ(in->Energy->text(), QStringLiteral("4520"));

    // Zero mass: zeros, and still one journal row.
    auto* zero = runWith(in, QStringLiteral("0"), QStringLiteral("4520"));
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->LWt->text(), QStringLiteral("0"));
    EXPECT_EQ(cellText(zero->zones->tabZone, 5, 3), QStringLiteral("0"));
    EXPECT_EQ(journal().size(), 2);
    trigger(zero, "mnuReturn");

    // The mass decides the formula: 5000 kg by 22.1, 5000,1 kg by 22.2.
    auto* at5000 = runWith(in, QStringLiteral("5000"), QStringLiteral("4520"));
    ASSERT_NE(at5000, nullptr);
    EXPECT_EQ(at5000->run().result.formula, calc::RadiusFormula::Corrected22_1);
    trigger(at5000, "mnuReturn");
    auto* above = runWith(in, QStringLiteral("5000,1"), QStringLiteral("4520"));
    ASSERT_NE(above, nullptr);
    EXPECT_EQ(above->run().result.formula, calc::RadiusFormula::CubeRoot22_2);
    EXPECT_EQ(journal().size(), 4);

    // "<<Назад" of the results, then of the input screen: the model choice.
    trigger(above, "mnuReturn");
    trigger(in, "mnuReturn");
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmLoad_Rasch"});
}

TEST_F(ModelII, MassAndEnergyBoxesFilterKeysAndRefuseWhatIsNotANumber)
{
    auto* in = open();
    ASSERT_NE(in, nullptr);
    for (ui::NumericEdit* box : {in->Massa_G, in->Energy}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->clear();
        box->setFocus();
        dialogs.beeps = 0;
        QTest::keyClicks(box, QStringLiteral("1x2.5"));
        EXPECT_EQ(box->text(), QStringLiteral("12,5"));
        EXPECT_EQ(dialogs.beeps, 1);

        // A text that is not a number stops the run with the input message.
        box->setText(QStringLiteral("1,2,5"));
        in->Command1->setFocus();
        test::settle();
        dialogs.clear();
        trigger(in, "mnuRaschet");
        ASSERT_EQ(messages().size(), 1);
        EXPECT_EQ(messages()[0], QStringLiteral("Ввод данных|Проверьте правильность ввода: в поле «%1» не число («1,2,5»).")
                                     .arg(ui::fieldCaption(box)));
        EXPECT_NE(ui::fieldCaption(box), box->objectName()) << "the field is named by its label";
        EXPECT_EQ(dialogs.last()->icon, ui::Icon::Warning);
        EXPECT_TRUE(in->isVisible());
        EXPECT_EQ(test::visibleScreen("frmOutput_KVV"), nullptr);
        box->setText(QStringLiteral("100"));
    }
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(ModelII, WithoutCompoundsTheRunIsNotOfferedAndSaysWhy)
{
    state.db().exec("DELETE FROM Explosives");
    auto* in = open();
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->Combo1->count(), 0);
    EXPECT_FALSE(in->Command1->isEnabled());
    EXPECT_FALSE(in->mnuRaschet->isEnabled());
    EXPECT_FALSE(in->lblNoCompounds->isHidden());
    EXPECT_TRUE(in->lblNoCompounds->text().contains(QStringLiteral("нет ни одного")));
    EXPECT_FALSE(in->run());
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(ModelII, TheCompoundsDirectoryReloadsTheListWhenItCloses)
{
    auto* in = open();
    ASSERT_NE(in, nullptr);
    // Until the directory exists the button says so and the screen stays.
    click(in->Command3);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_TRUE(dialogs.last()->text.contains(QStringLiteral("ещё не реализован")));
    EXPECT_TRUE(in->isVisible());

    // A directory that adds a compound sorting first and is left by "<<Назад":
    // the list is read again.
    ui::navigator().registerScreen(QStringLiteral("frmBD_KVV"), [] {
        return new ui::Screen(QStringLiteral("frmBD_KVV"), QStringLiteral("Справочник"));
    });
    const QString chosen = in->Combo1->currentText();
    in->Energy->setText(QStringLiteral("777"));
    click(in->Command3);
    auto* directory = qobject_cast<ui::Screen*>(test::visibleScreen("frmBD_KVV"));
    ASSERT_NE(directory, nullptr);
    EXPECT_FALSE(in->isVisible());
    state.db().exec("INSERT INTO Explosives (Name, Energy) VALUES (?, ?)", {QStringLiteral("Азблок"), 1234.5});
    directory->leave();
    test::settle();
    EXPECT_TRUE(in->isVisible());
    EXPECT_EQ(in->Combo1->itemText(0), QStringLiteral("Азблок"));
    // The compound shown stays, with the energy typed for it.
    EXPECT_EQ(in->Combo1->currentText(), chosen);
    EXPECT_EQ(in->Energy->text(), QStringLiteral("777"));
}

TEST_F(ModelII, TheCalculatorGivesWhatTheResultsScreenOfModelIGives)
{
    auto* in = open();
    ASSERT_NE(in, nullptr);
    auto* kvv = runWith(in, QStringLiteral("100"), QStringLiteral("4520"));
    ASSERT_NE(kvv, nullptr);
    report::ResultsView view;
    view.R0 = kvv->run().result.R0;
    auto* model1 = new screens::frmOutput(state, nullptr, {}, view);
    model1->show();
    test::settle();
    for (const char* P : {"5", "28", "28,1", "50", "90", "90,1", "150", "1", "14"}) {
        SCOPED_TRACE(P);
        dialogs.clear();
        model1->txtP->setText(QString::fromUtf8(P));
        click(model1->Command2);
        const QStringList shownOnModelI = messages();
        dialogs.clear();
        kvv->zones->txtP->setText(QString::fromUtf8(P));
        click(kvv->findChild<QPushButton*>("Command5"));
        EXPECT_EQ(messages(), shownOnModelI);
        EXPECT_EQ(kvv->zones->txtP->text(), model1->txtP->text());
        EXPECT_EQ(kvv->zones->txtX->text(), model1->txtX->text());
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(cellText(kvv->zones->tabZone, 6, c), cellText(model1->tabZone, 6, c));
    }
}

TEST_F(ModelII, ReportFromTheResultsScreenCarriesTheRunAndTheCalculatorRow)
{
    auto* in = open();
    ASSERT_NE(in, nullptr);
    in->Name_blok->setText(QStringLiteral("Блок 1"));
    auto* out = runWith(in, QStringLiteral("0"), QStringLiteral("4520"));
    ASSERT_NE(out, nullptr);
    out->zones->txtP->setText(QStringLiteral("50"));
    click(out->findChild<QPushButton*>("Command5"));

    const records::Signature signature = rememberASignature();
    const QString path = data.file("Отчет ТВ");
    dialogs.clear();
    dialogs.files = {path};
    trigger(out, "mnuWord");
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    EXPECT_TRUE(out->isVisible());
    const auto doc = docx::Document::open(path + ".docx");
    EXPECT_EQ(doc.bookmarkText("Name_blok"), QStringLiteral("Блок 1"));
    expectSignedBy(doc, signature);
    EXPECT_EQ(doc.bookmarkText("R0"), QStringLiteral("0"));
    EXPECT_EQ(doc.bookmarkText("Metka4"), QStringLiteral("(22.1)"));
    EXPECT_EQ(doc.bookmarkText("Name2"), out->lKvv->text());
    EXPECT_TRUE(doc.bookmarkText("Begin1").contains(QStringLiteral("расчет для 50 кПа")));

    // The status bar says where the report went; its button opens the folder.
    EXPECT_EQ(out->statusBar()->currentMessage(),
              QStringLiteral("Отчет сохранен: ") + QDir::toNativeSeparators(path + ".docx"));
    auto* openFolder = out->findChild<QPushButton*>("cmdOpenFolder");
    ASSERT_NE(openFolder, nullptr);
    EXPECT_TRUE(openFolder->isVisible());
    ui::RecordingDesktop desktop;
    ui::installDesktop(&desktop);
    click(openFolder);
    ui::installDesktop(nullptr);
    EXPECT_EQ(desktop.opened, QStringList{QFileInfo(path).absolutePath()});

    // A cancelled save dialog: the message, no file, the screen stays.
    dialogs.clear();
    dialogs.files = {QString()};
    const int files = int(QDir(data.path()).entryList(QDir::Files).size());
    trigger(out, "mnuWord");
    EXPECT_EQ(messages(), QStringList{"Вельтрон|Ошибка в процессе сохранения файла"});
    EXPECT_EQ(int(QDir(data.path()).entryList(QDir::Files).size()), files);
    EXPECT_TRUE(out->isVisible());
}
