// Model III on its real screen: the two TNT equivalents, the chosen formula,
// the zones, the calculator and the report.
#include "models/models_fixture.h"

#include "app/frmLoad_Rasch.h"
#include "models/frmSumm.h"
#include "report/docx/document.h"
#include "report/format.h"
#include "screens/form_widgets.h"
#include "screens/zone_results.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"

#include <QLabel>

#include <cmath>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

using namespace veltron;
using models::frmSumm;
using screens::cellText;

namespace {

const QString kNoRun = QStringLiteral("Внимание!|Сначала выполните расчет.");

class ModelIII : public test::ModelScreens {
protected:
    frmSumm* open() { return openModel<frmSumm>(&frmLoad_Rasch::Option3, "frmSumm"); }
    QPushButton* command5(frmSumm* s) { return s->findChild<QPushButton*>("Command5"); }
};

}  // namespace

TEST_F(ModelIII, BeforeTheFirstRunTheReportAndTheCalculatorAreRefused)
{
    auto* s = open();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->windowTitle(),
              QStringLiteral("Блоки с парогазовыми смесями и с твердыми или жидкими нестабильными соединениями"));
    EXPECT_EQ(s->txtWt0->text(), QStringLiteral("100"));
    EXPECT_EQ(s->txtWt1->text(), QStringLiteral("100"));
    EXPECT_TRUE(s->Option1->isChecked());
    EXPECT_TRUE(s->findChild<QLabel*>("Label3")->text().startsWith(QStringLiteral("Формула 22.1 применяется")));
    click(command5(s));
    trigger(s, "mnuMWord");
    EXPECT_EQ(messages(), (QStringList{kNoRun, kNoRun}));
    EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
    EXPECT_TRUE(cellText(s->zones->tabZone, 6, 0).isEmpty());
    EXPECT_TRUE(journal().isEmpty());
}

TEST_F(ModelIII, RunsWithTheChosenFormulaAndJournalsTheTextsAsTyped)
{
    auto* s = open();
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->run());
    EXPECT_NEAR(s->lastRun()->result.R0, 2.3241, 5e-5);
    EXPECT_EQ(cellText(s->zones->tabZone, 1, 3), QStringLiteral("8,832"));
    EXPECT_EQ(s->txtWt->text(), QStringLiteral("200,000"));
    EXPECT_EQ(s->txtR0->text(), QStringLiteral("2,324"));
    ASSERT_TRUE(state.lastSummary.has_value());
    EXPECT_EQ(state.lastSummary->result.Wt, 200);
    test::snapshot(s, "frmSumm");
    test::expectFitsTheDisplay(s);
    expectReportFolderRoundTrip(s, "mnuFolder");
    EXPECT_EQ(s->txtWt->text(), QStringLiteral("200,000"));

    // The calculator now works on this R0; a new run clears its row.
    click(command5(s));
    EXPECT_EQ(cellText(s->zones->tabZone, 6, 0), QStringLiteral("расчет для 5 кПа"));
    EXPECT_EQ(s->zones->txtX->text(), report::formatPattern(s->lastRun()->result.R0 * report::overpressureK(5), "0.00"));

    s->Option2->setChecked(true);
    ASSERT_TRUE(s->run());
    EXPECT_NEAR(s->lastRun()->result.R0, 5.8480, 5e-5);
    EXPECT_TRUE(cellText(s->zones->tabZone, 6, 0).isEmpty());
    EXPECT_TRUE(s->zones->txtX->text().isEmpty());

    // Typed with the decimal point, shown and journalled with the comma; a
    // sum above 5000 kg keeps the chosen formula 22.1.
    s->Option1->setChecked(true);
    s->txtWt0->clear();
    QTest::keyClicks(s->txtWt0, QStringLiteral("4000.5"));
    s->txtWt1->setText(QStringLiteral("2000"));
    click(s->Command1);
    EXPECT_EQ(s->lastRun()->result.formula, calc::RadiusFormula::Corrected22_1);
    EXPECT_LT(s->lastRun()->result.R0, std::cbrt(6000.5));
    EXPECT_EQ(journal(), (QStringList{"100+100|Суммарный расчет", "100+100|Суммарный расчет",
                                      "4000,5+2000|Суммарный расчет"}));

    // Not a number: refused with the input message, no run, no row.
    s->txtWt1->setText(QStringLiteral(","));
    dialogs.clear();
    EXPECT_FALSE(s->run());
    EXPECT_EQ(messages(), QStringList{"Ввод данных|Проверте правильность ввода"});
    EXPECT_EQ(journal().size(), 3);

    trigger(s, "mnuReturn");
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmLoad_Rasch"});
}

TEST_F(ModelIII, ReportCarriesTheRunNotWhatWasTypedAfterIt)
{
    auto* s = open();
    ASSERT_NE(s, nullptr);
    s->txtWt0->setText(QStringLiteral("150,5"));
    ASSERT_TRUE(s->run());
    click(command5(s));
    // Typed and chosen after the run, without running again.
    s->txtWt0->setText(QStringLiteral("999"));
    s->Option2->setChecked(true);

    const QString path = data.file("summ.docx");
    dialogs.clear();
    dialogs.files = {path};
    trigger(s, "mnuMWord");
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    EXPECT_TRUE(s->isVisible());
    const auto doc = docx::Document::open(path);
    EXPECT_EQ(doc.bookmarkText("mWt0"), QStringLiteral("150,5"));
    EXPECT_EQ(doc.bookmarkText("mWt1"), QStringLiteral("100"));
    EXPECT_EQ(doc.bookmarkText("mWt"), QStringLiteral("250,500"));
    EXPECT_EQ(doc.bookmarkText("Metka4"), QStringLiteral("(22.1)"));
    EXPECT_EQ(doc.bookmarkText("mR0"), s->txtR0->text());
    EXPECT_EQ(doc.bookmarkText("R0"), s->txtR0->text());
    EXPECT_TRUE(doc.bookmarkText("Begin1").contains(QStringLiteral("расчет для 5 кПа")));
}
