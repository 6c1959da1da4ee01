// Model III on its real screen: the two TNT equivalents, the chosen formula,
// the zones, the calculator and the report.
#include "models/models_fixture.h"

#include "app/frmLoad_Rasch.h"
#include "models/frmSumm.h"
#include "report/docx/document.h"
#include "report/format.h"
#include "screens/form_widgets.h"
#include "report/docx/package.h"
#include "report/zone_map.h"
#include "screens/zone_map_view.h"
#include "screens/zone_results.h"
#include "ui/navigator.h"
#include "ui/numeric_edit.h"

#include <QAction>
#include <QDir>
#include <QImage>
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
    EXPECT_EQ(messages(), QStringList{"Ввод данных|Проверьте правильность ввода: в поле «Тротиловый эквивалент взрыва "
                                      "твердых и жидких химически нестабильных соединений, кг» не число («,»)."});
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
    // Typed and chosen after the run, without running again; the name is
    // not an input of the run: the report takes the one shown.
    s->txtWt0->setText(QStringLiteral("999"));
    s->Option2->setChecked(true);
    s->txtName->setText(QStringLiteral("Установка 2"));

    const records::Signature signature = rememberASignature();
    const QString path = data.file("summ.docx");
    dialogs.clear();
    dialogs.files = {path};
    trigger(s, "mnuMWord");
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    EXPECT_TRUE(s->isVisible());
    const auto doc = docx::Document::open(path);
    EXPECT_EQ(doc.bookmarkText("mName"), QStringLiteral("Наименование расчета: Установка 2"));
    expectSignedBy(doc, signature);
    EXPECT_EQ(doc.bookmarkText("mWt0"), QStringLiteral("150,5"));
    EXPECT_EQ(doc.bookmarkText("mWt1"), QStringLiteral("100"));
    EXPECT_EQ(doc.bookmarkText("mWt"), QStringLiteral("250,500"));
    EXPECT_EQ(doc.bookmarkText("Metka4"), QStringLiteral("(22.1)"));
    EXPECT_EQ(doc.bookmarkText("mR0"), s->txtR0->text());
    EXPECT_EQ(doc.bookmarkText("R0"), s->txtR0->text());
    EXPECT_TRUE(doc.bookmarkText("Begin1").contains(QStringLiteral("расчет для 5 кПа")));
    // The picture is the map of the run with the calculator's zone, as on the screen.
    const auto package = docx::Package::read(path, QStringLiteral("отчет"));
    const double R0 = s->lastRun()->result.R0;
    EXPECT_EQ(package.part("word/media/image1.png"), report::zoneMapPng({R0, report::overpressure(5, R0)}));
}

TEST_F(ModelIII, TheZoneMapFollowsTheRunAndTheCalculatorAndIsSavedAsPngAndSvg)
{
    auto* s = open();
    ASSERT_NE(s, nullptr);
    auto* map = s->findChild<screens::ZoneMap*>("ZoneMap");
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->isVisible());
    EXPECT_FALSE(map->data());
    // Nothing to save before the first run.
    map->savePng->trigger();
    EXPECT_EQ(messages(), QStringList{kNoRun});

    ASSERT_TRUE(s->run());
    const double R0 = s->lastRun()->result.R0;
    ASSERT_TRUE(map->data());
    EXPECT_EQ(map->data()->R0, R0);
    EXPECT_FALSE(map->currentLayout().calculator);
    EXPECT_EQ(map->currentLayout().circles.size(), 5u);
    const QImage before = map->grab().toImage();

    type(s->zones->txtP, QStringLiteral("50"));
    click(command5(s));
    const auto layout = map->currentLayout();
    ASSERT_TRUE(layout.calculator);
    EXPECT_DOUBLE_EQ(layout.calculator->metres, R0 * report::overpressureK(50));
    EXPECT_EQ(layout.legend.back().text, QStringLiteral("R = %1 м — расчет для 50 кПа").arg(s->zones->txtX->text()));
    EXPECT_NE(map->grab().toImage(), before);
    // A new run shows its own zones without the calculator's.
    s->Option2->setChecked(true);
    ASSERT_TRUE(s->run());
    EXPECT_EQ(map->data()->R0, s->lastRun()->result.R0);
    EXPECT_FALSE(map->currentLayout().calculator);

    // The context menu saves the map: PNG with the extension added, SVG.
    EXPECT_EQ(map->contextMenuPolicy(), Qt::ActionsContextMenu);
    EXPECT_EQ(map->actions(), (QList<QAction*>{map->savePng, map->saveSvg}));
    dialogs.clear();
    dialogs.files = {data.file("карта"), data.file("карта.svg")};
    map->savePng->trigger();
    map->saveSvg->trigger();
    EXPECT_TRUE(messages().isEmpty()) << messages().join('\n').toStdString();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Сохранение рисунка зон разрушения"));
    EXPECT_TRUE(dialogs.calls[0].text.endsWith(QStringLiteral("|Рисунок PNG (*.png)")));
    EXPECT_TRUE(dialogs.calls[1].text.endsWith(QStringLiteral("|Рисунок SVG (*.svg)")));
    EXPECT_EQ(QImage(data.file("карта.png")).size(), QSize(1890, 1535));
    QFile svg(data.file("карта.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(svg.readAll().contains("<svg"));
    // The next dialog opens where the last map went.
    dialogs.clear();
    dialogs.files = {QString()};
    map->savePng->trigger();
    EXPECT_EQ(dialogs.calls[0].text, data.path() + QStringLiteral("|Рисунок PNG (*.png)"));
    EXPECT_TRUE(messages().isEmpty()) << "a cancelled dialog writes nothing and says nothing";

    // A file that cannot be written is reported with the reason; a name
    // that leads to a database is refused and the database stays as it was.
    const QByteArray database("SQLite format 3\0 and the pages of a store", 42);
    {
        QFile f(data.file("база.sqlite"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(database);
    }
    ASSERT_TRUE(QFile::link(data.file("база.sqlite"), data.file("ссылка.png")));
    const struct {
        QString chosen;
        QString reason;
    } refused[] = {
        {data.file("нет такой папки/карта.png"),
         QStringLiteral("папка «%1» не существует").arg(data.file("нет такой папки"))},
        {data.file("ссылка"), QStringLiteral("файл базы данных")},
    };
    for (const auto& c : refused) {
        dialogs.clear();
        dialogs.files = {c.chosen};
        map->savePng->trigger();
        ASSERT_EQ(messages().size(), 1);
        EXPECT_TRUE(messages()[0].startsWith(QStringLiteral("Вельтрон|Ошибка в процессе сохранения файла\n")));
        EXPECT_TRUE(messages()[0].contains(c.reason)) << messages()[0].toStdString();
        EXPECT_EQ(dialogs.last()->icon, ui::Icon::Critical);
    }
    QFile kept(data.file("база.sqlite"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), database);
    EXPECT_EQ(QDir(data.path()).entryList({"карта*"}, QDir::Files).size(), 2);
}
