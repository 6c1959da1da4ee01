#include "common/test_support.h"
#include "docx/docx_fixture.h"
#include "report/appendix_report.h"
#include "report/docx/document.h"
#include "report/docx/docx_error.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace veltron;

namespace {

// A run of 1200 kg reduced mass; z = 0.1 puts 120 kg into the explosion.
calc::RaschResult runWithZones(double m = 1200)
{
    calc::RaschResult r;
    r.m = m;
    r.Q = 46000;
    r.Wt = 0.4 * 46000 / 0.9 / 4520 * 0.1 * m;
    r.R0 = 10.47;
    r.Zn_kategor = QStringLiteral("III");
    const double K[] = {3.8, 5.6, 9.6, 28, 56};
    for (int i = 0; i < 5; ++i)
        r.Rzone[i] = K[i] * r.R0;
    return r;
}

report::AppendixData appendixOf(const calc::RaschResult& r, double z, double pressure = 5)
{
    report::AppendixData d;
    d.result = r;
    d.view = report::buildResultsView(r, {});
    d.z = z;
    d.blockName = QStringLiteral("Емкость Е-1");
    d.calculator = report::overpressure(pressure, r.R0);
    d.row6 = d.calculator->row6;
    return d;
}

// Opens the produced document and reads its bookmarks back.
docx::Document reopen(const QByteArray& bytes, const test::TempFolder& dir)
{
    const QString path = dir.file("appendix.docx");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    f.close();
    return docx::Document::open(path);
}

}  // namespace

TEST(AppendixReport, EveryBookmarkCarriesTheValueOfTheRun)
{
    test::TempFolder dir;
    const auto data = appendixOf(runWithZones(), 0.1, 28);
    const auto doc = reopen(report::buildAppendixReport(data), dir);
    const std::map<QString, QString> expected = {
        {"m2", "1200,00"},   {"Name1", "Емкость Е-1"}, {"Name2", "Емкость Е-1"}, {"Metka4", "(22.1)"},
        {"wt", "542,773"},   {"mWt", "542,773"},         {"R0", "10,470"},        {"mR0", "10,470"},
        {"R1", "39,786"},    {"mR1", "39,786"},        {"R2", "58,632"},        {"R3", "100,512"},
        {"R4", "293,160"},   {"R5", "586,320"},        {"mR5", "586,320"},      {"mz", "0,10"},
        {"mmst", "120,00"},  {"mKateg", "III"},        {"mR6_inf", "расчет для 28 кПа"},
        {"mR6_K", "9,600"},  {"mR6_P", "28"},          {"mR6_R", "100,51"},
    };
    for (const auto& [bookmark, text] : expected)
        EXPECT_EQ(doc.bookmarkText(bookmark), text) << bookmark.toStdString();
    EXPECT_EQ(test::tablesThatBreakBadly(doc.documentXml()), QStringList());
}

TEST(AppendixReport, NoCloudWritesZeroEverywhereButTheMass)
{
    calc::RaschResult r = runWithZones();
    r.Wt = 0;
    r.R0 = 0;
    r.Rzone = {};
    const auto texts = report::appendixTexts(appendixOf(r, 0));
    EXPECT_EQ(texts.at("m2"), QStringLiteral("1200,00"));
    for (const char* b : {"wt", "mWt", "R0", "R1", "R2", "R3", "R4", "R5", "mR0", "mR1", "mR2", "mR3", "mR4",
                          "mR5", "mmst", "mz"})
        EXPECT_EQ(texts.at(b), QStringLiteral("0")) << b;
}

TEST(AppendixReport, FormulaOfTheReducedRadiusFollowsTheMass)
{
    EXPECT_EQ(report::appendixTexts(appendixOf(runWithZones(5000), 0.1)).at("Metka4"), QStringLiteral("(22.1)"));
    EXPECT_EQ(report::appendixTexts(appendixOf(runWithZones(5000.01), 0.1)).at("Metka4"), QStringLiteral("(22.2)"));
}

TEST(AppendixReport, ZoneRowOfTheCalculatorPressure)
{
    const auto texts = report::appendixTexts(appendixOf(runWithZones(), 0.1, 50));
    EXPECT_EQ(texts.at("mR6_inf"), QStringLiteral("расчет для 50 кПа"));
    EXPECT_EQ(texts.at("mR6_P"), QStringLiteral("50"));
    // K and the radius are what the calculator of the results screen shows.
    const auto shown = report::overpressure(50, runWithZones().R0).row6;
    EXPECT_EQ(texts.at("mR6_K"), shown[1]);
    EXPECT_EQ(texts.at("mR6_R"), shown[3]);
}

TEST(AppendixReport, SameRunTwiceGivesTheSameDocument)
{
    const auto data = appendixOf(runWithZones(), 0.1);
    EXPECT_EQ(report::buildAppendixReport(data), report::buildAppendixReport(data));
}

TEST(AppendixReport, MissingTemplateIsAClearError)
{
    const QByteArray saved = qgetenv("VELTRON_TEMPLATES");
    qputenv("VELTRON_TEMPLATES", "/no/such/folder");
    try {
        report::buildAppendixReport(appendixOf(runWithZones(), 0.1));
        ADD_FAILURE() << "a report without its template must not be made";
    } catch (const docx::DocxError& e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    qputenv("VELTRON_TEMPLATES", saved);
}

TEST(AppendixReport, OfficeSuiteReadsTheKeyValues)
{
    if (test::officeProgram().isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    test::TempFolder dir;
    const QString path = dir.file("pril3.docx");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(report::buildAppendixReport(appendixOf(runWithZones(), 0.1, 50)));
    f.close();
    const QString pdf = test::convertToPdf(path, dir.path());
    const QString text = test::pdfText(pdf);
    EXPECT_EQ(test::notWhole(text, {"Емкость Е-1", "1200,00", "(22.1)", "586,320", "542,773", "расчет для 50 кПа",
                                    "Рисунок — Зоны разрушения"}),
              QStringList())
        << text.toStdString();
    // The office suite shows the map of the zones.
    EXPECT_EQ(test::pdfImageCount(pdf), 1);
    if (!qEnvironmentVariableIsEmpty("VELTRON_SCREENSHOTS"))
        QFile::copy(path, qEnvironmentVariable("VELTRON_SCREENSHOTS") + "/appendix.docx");
}
