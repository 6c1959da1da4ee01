// The reports of models II and III: their templates, the texts of every
// bookmark and the zone table at Begin1.
#include "common/test_support.h"
#include "docx/docx_fixture.h"
#include "report/docx/document.h"
#include "calc/number_text.h"
#include "report/docx/templates.h"
#include "report/summary_report.h"
#include "report/unstable_report.h"
#include "report/zone_map.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace veltron;

namespace {

calc::UnstableCase unstableCase(double mass, const QString& massText)
{
    calc::UnstableCase c;
    c.blockName = QStringLiteral("Склад ВВ «Север»");
    c.compound = QStringLiteral("Тротил (тринитротолуол)");
    c.massText = massText;
    c.energyText = QStringLiteral("4520");
    c.mass = mass;
    c.energy = 4520;
    return c;
}

calc::ZoneRun zonesOf(const calc::ZoneOutcome& o)
{
    return std::get<calc::ZoneRun>(o);
}

calc::SummaryCase summaryCase(const QString& wt0, const QString& wt1, calc::RadiusFormula f)
{
    calc::SummaryCase c;
    c.wt0Text = wt0;
    c.wt1Text = wt1;
    c.wt0 = calc::parseNumber(wt0).value();
    c.wt1 = calc::parseNumber(wt1).value();
    c.formula = f;
    return c;
}

docx::Document reopen(const QByteArray& bytes, const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    return docx::Document::open(path);
}

}  // namespace

TEST(ModelReportTemplates, HoldEveryBookmarkOnceAndAreSound)
{
    const struct {
        QString file;
        QStringList bookmarks;
    } templates[] = {{report::kUnstableTemplate, report::unstableBookmarks()},
                     {report::kSummaryTemplate, report::summaryBookmarks()}};
    for (const auto& t : templates) {
        SCOPED_TRACE(t.file.toStdString());
        const auto doc = docx::Document::open(docx::templatePath(t.file));
        QStringList names = doc.bookmarkNames();
        QStringList expected = t.bookmarks;
        names.sort();
        expected.sort();
        EXPECT_EQ(names, expected);
        EXPECT_EQ(test::soundnessProblems(doc.documentXml()), QStringList());
        const QString text = test::paragraphTexts(doc.documentXml()).join(QLatin1Char('\n'));
        for (const char* s : {"(22.1)", "(22.2)", "Классификация зон разрушения"})
            EXPECT_TRUE(text.contains(QString::fromUtf8(s))) << s;
        // The formulas are equations, not pictures or plain text.
        EXPECT_GE(doc.documentXml().count("<m:oMath>"), 4);
    }
}

TEST(UnstableReport, EveryBookmarkAndTheZoneTable)
{
    test::TempFolder dir;
    const auto c = unstableCase(100, QStringLiteral("100"));
    const calc::ZoneRun run = zonesOf(calc::runUnstable(c));
    const auto five = report::overpressure(5, run.R0);
    const auto table = report::zoneTable(run.R0, five.row6);
    const auto doc = reopen(report::buildUnstableReport(c, run, table, {run.R0, five}), dir.file("tv.docx"));

    const std::map<QString, QString> expected = {
        {"Name_blok", "Склад ВВ «Север»"}, {"Wt", "100,000"}, {"mWk1", "100,000"}, {"mqk1", "4520,000"},
        {"R0", "1,465"}, {"Name2", "Тротил (тринитротолуол)"}, {"Metka4", "(22.1)"},
    };
    for (const auto& [bookmark, text] : expected)
        EXPECT_EQ(doc.bookmarkText(bookmark), text) << bookmark.toStdString();

    // Begin1 holds the 7 × 4 grid: header, five zones, the calculator's row.
    const QStringList cells = test::paragraphTexts(doc.documentXml());
    for (const char* s : {"Класс зоны разрушения", "deltaP, кПа", "Радиус зоны, м", "5,566", "8,203", "14,062",
                          "41,015", "82,030", ">=100", "<=2", "расчет для 5 кПа", "48,4"})
        EXPECT_TRUE(cells.contains(QString::fromUtf8(s))) << s;
    auto xml = test::parseXml(doc.documentXml());
    const auto tables = xml->select_nodes("//w:tbl[w:tblPr/w:tblBorders/w:top[@w:sz='12']]");
    ASSERT_EQ(tables.size(), 1u);
    const pugi::xml_node tbl = tables.first().node();
    EXPECT_EQ(tbl.select_nodes("w:tr").size(), 7u);
    EXPECT_EQ(tbl.select_nodes("w:tr[1]/w:tc").size(), 4u);
    const pugi::xml_node borders = tbl.child("w:tblPr").child("w:tblBorders");
    for (const char* side : {"w:top", "w:left", "w:bottom", "w:right"})
        EXPECT_STREQ(borders.child(side).attribute("w:sz").value(), "12") << side;
    for (const char* side : {"w:insideH", "w:insideV"})
        EXPECT_STREQ(borders.child(side).attribute("w:sz").value(), "4") << side;
    for (const auto& size : tbl.select_nodes(".//w:rPr/w:sz"))
        EXPECT_STREQ(size.node().attribute("w:val").value(), "24");
}

TEST(UnstableReport, ZeroMassAndTheSwitchOfTheFormula)
{
    const struct {
        double mass;
        const char* typed;
        const char* R0;
        const char* formula;
    } cases[] = {{0, "0", "0", "(22.1)"}, {5000, "5000", nullptr, "(22.1)"}, {5000.1, "5000,1", nullptr, "(22.2)"}};
    for (const auto& k : cases) {
        const auto c = unstableCase(k.mass, QString::fromUtf8(k.typed));
        const auto texts = report::unstableTexts(c, zonesOf(calc::runUnstable(c)));
        EXPECT_EQ(texts.at("Metka4"), QString::fromUtf8(k.formula)) << k.typed;
        if (k.R0) {
            EXPECT_EQ(texts.at("R0"), QString::fromUtf8(k.R0));
            EXPECT_EQ(texts.at("Wt"), QStringLiteral("0"));
        }
    }
}

TEST(SummaryReport, TextsAsTypedAndTheChosenFormula)
{
    test::TempFolder dir;
    const auto c = summaryCase(QStringLiteral("100,5"), QStringLiteral("99,5"), calc::RadiusFormula::CubeRoot22_2);
    const calc::ZoneRun run = zonesOf(calc::runSummary(c));
    const auto doc =
        reopen(report::buildSummaryReport(c, run, report::zoneTable(run.R0), {run.R0, {}}), dir.file("summ.docx"));
    const std::map<QString, QString> expected = {
        {"mWt0", "100,5"}, {"mWt1", "99,5"}, {"mWt", "200,000"}, {"mR0", "5,848"}, {"R0", "5,848"}, {"Metka4", "(22.2)"},
    };
    for (const auto& [bookmark, text] : expected)
        EXPECT_EQ(doc.bookmarkText(bookmark), text) << bookmark.toStdString();
    EXPECT_EQ(report::summaryJournalName(c), QStringLiteral("100,5+99,5"));
    EXPECT_EQ(report::asTypedInBox(QStringLiteral("100.5")), QStringLiteral("100,5"));

    const auto zero = summaryCase("0", "0", calc::RadiusFormula::Corrected22_1);
    const auto texts = report::summaryTexts(zero, zonesOf(calc::runSummary(zero)));
    EXPECT_EQ(texts.at("R0"), QStringLiteral("0"));
    EXPECT_EQ(texts.at("mR0"), QStringLiteral("0"));
    EXPECT_EQ(texts.at("Metka4"), QStringLiteral("(22.1)"));
}

TEST(ModelReports, MissingTemplateIsAClearError)
{
    const QByteArray saved = qgetenv("VELTRON_TEMPLATES");
    qputenv("VELTRON_TEMPLATES", "/no/such/folder");
    const auto c = summaryCase("1", "1", calc::RadiusFormula::Corrected22_1);
    EXPECT_THROW(report::buildSummaryReport(c, zonesOf(calc::runSummary(c)), report::zoneTable(1), {1, {}}),
                 docx::DocxError);
    qputenv("VELTRON_TEMPLATES", saved);
}

TEST(ModelReports, OfficeSuiteReadsBothReports)
{
    if (test::officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    test::TempFolder dir;
    const auto u = unstableCase(100, QStringLiteral("100"));
    const calc::ZoneRun ur = zonesOf(calc::runUnstable(u));
    const auto s = summaryCase("100", "100", calc::RadiusFormula::Corrected22_1);
    const calc::ZoneRun sr = zonesOf(calc::runSummary(s));
    const struct {
        QString file;
        QByteArray bytes;
        QStringList values;
    } reports[] = {
        {"tv.docx",
         report::buildUnstableReport(u, ur, report::zoneTable(ur.R0, report::overpressure(5, ur.R0).row6),
                                     {ur.R0, report::overpressure(5, ur.R0)}),
         {"Склад", "1,465", "82,030", "(22.1)", "4520,000", "расчет для 5 кПа"}},
        {"summ.docx", report::buildSummaryReport(s, sr, report::zoneTable(sr.R0), {sr.R0, {}}),
         {"200,000", "2,324", "8,832", "130,151", "(22.1)"}},
    };
    for (const auto& r : reports) {
        const QString path = dir.file(r.file);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(r.bytes);
        f.close();
        const QString pdf = test::convertToPdf(path, dir.path());
        const QString text = test::pdfText(pdf);
        EXPECT_EQ(test::notWhole(text, r.values), QStringList()) << text.toStdString();
        // The office suite shows the map of the zones.
        EXPECT_EQ(test::pdfImageCount(pdf), 1);
        EXPECT_TRUE(text.contains(QStringLiteral("Рисунок — Зоны разрушения")));
        test::keep(path);
    }
}
