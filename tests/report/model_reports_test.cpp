// The reports of models II, III and IV: their templates, the texts of every
// bookmark and the tables at Begin1.
#include "common/test_support.h"
#include "docx/docx_fixture.h"
#include "report/docx/document.h"
#include "calc/number_text.h"
#include "report/complex_report.h"
#include "report/docx/templates.h"
#include "report/signature_block.h"
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

calc::BlockEnergies block(const char* name, double E11, double Wt)
{
    return {QString::fromUtf8(name), E11, 0.5, 0, 0, 1.0 / 3, 12.25, Wt};
}

calc::ComplexRun complexRun(const QList<calc::BlockEnergies>& rows)
{
    return {rows, std::get<calc::ComplexResult>(calc::runComplex(rows))};
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
                     {report::kSummaryTemplate, report::summaryBookmarks()},
                     {report::kComplexTemplate, report::complexBookmarks()}};
    for (const auto& t : templates) {
        SCOPED_TRACE(t.file.toStdString());
        const auto doc = docx::Document::open(docx::templatePath(t.file));
        QStringList names = doc.bookmarkNames();
        QStringList expected = t.bookmarks + QStringList{report::kSignatureBookmark};
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

TEST(ModelReports, OfficeSuiteReadsTheReports)
{
    if (test::officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    test::TempFolder dir;
    const auto u = unstableCase(100, QStringLiteral("100"));
    const calc::ZoneRun ur = zonesOf(calc::runUnstable(u));
    const auto s = summaryCase("100", "100", calc::RadiusFormula::Corrected22_1);
    const calc::ZoneRun sr = zonesOf(calc::runSummary(s));
    const calc::ComplexRun kr = complexRun({block("Колонна К-1", 30e6, 1000.04), block("Емкость Е-2", 16e6, 2000)});
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
        {"kr.docx",
         report::buildComplexReport(kr, report::zoneTable(kr.result.R0, report::overpressure(5, kr.result.R0).row6),
                                    {kr.result.R0, report::overpressure(5, kr.result.R0)}),
         {"Колонна", "К-1", "Емкость", "Е-2", "46000026,17", "21,67", "3000,0", "48,341", "712,388", "(22.1)", "III",
          "расчет для 5 кПа", "1000,04", "30000000", "0,3333333333333333"}},
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

TEST(ComplexReport, EveryBookmarkAndTheTableOfTheRows)
{
    test::TempFolder dir;
    const calc::ComplexRun run = complexRun({block("Колонна К-1", 30e6, 1000.04), block("Емкость Е-2", 16e6, 2000)});
    const auto table = report::zoneTable(run.result.R0, report::overpressure(5, run.result.R0).row6);
    const auto doc =
        reopen(report::buildComplexReport(run, table, {run.result.R0, report::overpressure(5, run.result.R0)}),
               dir.file("kr.docx"));
    // E = 46 000 026,1666… kJ, m = 1000,0005… kg, Wt = 3000,04 kg shown and used as 3000,0.
    const std::map<QString, QString> expected = {
        {"E", "46000026,17"}, {"mE", "46000026,17"}, {"E_1", "46000026,17"}, {"E_2", "46000026,17"},
        {"m", "1000,00"}, {"m1", "1000,00"}, {"m2", "1000,00"}, {"mm", "1000,00"},
        {"Q", "21,7"}, {"Q1", "21,7"}, {"mQv", "21,67"},
        {"Kategor", "III"}, {"mKateg", "III"}, {"Wt", "3000,0"}, {"mWt", "3000,000"},
        {"Metka4", "(22.1)"}, {"R0", "12,721"}, {"mR0", "12,72"},
        {"R1", "48,341"}, {"mR1", "48,341"}, {"R5", "712,388"}, {"mR5", "712,388"},
        {"mR6_inf", "расчет для 5 кПа"}, {"mR6_K", table[6][1]}, {"mR6_P", "5"}, {"mR6_R", table[6][3]},
    };
    for (const auto& [bookmark, text] : expected)
        EXPECT_EQ(doc.bookmarkText(bookmark), text) << bookmark.toStdString();
    EXPECT_NEAR(run.result.R0, 12.7212, 5e-5);

    // Begin1: the header and one row per block, all eight columns, the
    // numbers written in full.
    auto xml = test::parseXml(doc.documentXml());
    const auto tables = xml->select_nodes("//w:tbl[w:tblPr/w:tblBorders/w:top[@w:sz='12']]");
    ASSERT_EQ(tables.size(), 1u);
    const pugi::xml_node tbl = tables.first().node();
    EXPECT_EQ(tbl.select_nodes("w:tr").size(), 3u);
    for (const auto& tr : tbl.select_nodes("w:tr"))
        EXPECT_EQ(tr.node().select_nodes("w:tc").size(), 8u);
    const pugi::xml_node borders = tbl.child("w:tblPr").child("w:tblBorders");
    for (const char* side : {"w:insideH", "w:insideV"})
        EXPECT_STREQ(borders.child(side).attribute("w:sz").value(), "4") << side;
    const QStringList cells = test::paragraphTexts(doc.documentXml());
    for (const char* s : {"Наименование расчета", "тротиловый эквивалент взрыва парогазовой среды, кг", "Колонна К-1",
                          "Емкость Е-2", "30000000", "0,3333333333333333", "12,25", "1000,04"})
        EXPECT_TRUE(cells.contains(QString::fromUtf8(s))) << s;
}

TEST(ComplexReport, ZeroEnergyNoRowsAndTheSwitchOfTheFormula)
{
    test::TempFolder dir;
    const calc::ComplexRun none = complexRun({});
    const auto doc = reopen(report::buildComplexReport(none, report::zoneTable(0), {0, {}}), dir.file("kr0.docx"));
    for (const char* b : {"Q", "Q1", "mm", "mQv", "mR0", "R0", "R1", "R3", "R5", "mR1", "mR5", "mWt"})
        EXPECT_EQ(doc.bookmarkText(QString::fromLatin1(b)), QStringLiteral("0")) << b;
    for (const char* b : {"E", "mE", "E_1", "E_2", "m", "m1", "m2"})
        EXPECT_EQ(doc.bookmarkText(QString::fromLatin1(b)), QStringLiteral("0,00")) << b;
    EXPECT_EQ(doc.bookmarkText("Wt"), QStringLiteral("0,0"));
    EXPECT_EQ(doc.bookmarkText("Kategor"), QStringLiteral("III"));
    EXPECT_EQ(doc.bookmarkText("mR6_inf"), QString());
    // The table of the rows is its header alone.
    auto xml = test::parseXml(doc.documentXml());
    const auto tables = xml->select_nodes("//w:tbl[w:tblPr/w:tblBorders/w:top[@w:sz='12']]");
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_EQ(tables.first().node().select_nodes("w:tr").size(), 1u);

    // m of exactly 5000 kg keeps formula 22.1; above it 22.2.
    const auto at = report::complexTexts(complexRun({block("a", 230e6 - 12.25 - 0.5 - 1.0 / 3, 1)}).result,
                                         report::zoneTable(1));
    EXPECT_EQ(at.at("m"), QStringLiteral("5000,00"));
    EXPECT_EQ(at.at("Metka4"), QStringLiteral("(22.1)"));
    EXPECT_EQ(at.at("Kategor"), QStringLiteral("II"));
    const auto above = report::complexTexts(complexRun({block("a", 230.1e6, 1)}).result, report::zoneTable(1));
    EXPECT_EQ(above.at("Metka4"), QStringLiteral("(22.2)"));
    EXPECT_EQ(above.at("Kategor"), QStringLiteral("I"));
}
