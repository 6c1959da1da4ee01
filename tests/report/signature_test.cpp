// The signature block that ends every report: its lines, and each report
// read back with and without it.
#include "common/sample_calculations.h"
#include "common/test_store.h"
#include "docx/docx_fixture.h"

#include "calc/engine.h"
#include "calc/number_text.h"
#include "records/calculation_inputs.h"
#include "records/calculations.h"
#include "records/store_reference.h"
#include "report/appendix_report.h"
#include "report/block_register.h"
#include "report/complex_report.h"
#include "report/docx/document.h"
#include "report/main_report.h"
#include "report/signature_block.h"
#include "report/summary_report.h"
#include "report/unstable_report.h"
#include "report/zone_map.h"

#include <gtest/gtest.h>

#include <QFile>

#include <functional>

using namespace veltron;

namespace {

TEST(SignatureLines, AnEmptyFieldLeavesNoLine)
{
    const QDate date(2025, 3, 14);
    const struct {
        records::Signature signature;
        QStringList lines;
    } cases[] = {
        {{"Инженер", "Иванов И. И.", "Паспорт блока"},
         {"Расчет выполнил: Инженер ____________ Иванов И. И.", "Дата: 14.03.2025", "Исходные данные: Паспорт блока"}},
        {{"", "Иванов И. И.", ""}, {"Расчет выполнил: ____________ Иванов И. И.", "Дата: 14.03.2025"}},
        {{"Инженер", "", ""}, {"Расчет выполнил: Инженер ____________", "Дата: 14.03.2025"}},
        {{"", "", "Паспорт блока"}, {"Исходные данные: Паспорт блока"}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(report::signatureLines(c.signature, date), c.lines) << c.lines.join('|').toStdString();
}

class SignatureBlock : public ::testing::Test {
protected:
    // Each report, made with the signature given.
    std::vector<std::pair<const char*, std::function<QByteArray(const records::Signature&)>>> reports()
    {
        store = test::openStore(folder);
        const auto loaded = records::loadRunnableInputs(*store, *records::findByName(*store, test::kExample));
        const calc::RaschResult result =
            std::get<calc::RaschResult>(records::runLoaded(loaded, records::StoreReference(*store)));
        const auto& inputs = std::get<records::CalculationInputs>(loaded);
        const report::ResultsView view = report::buildResultsView(result, inputs);
        const report::Overpressure five = report::overpressure(5, result.R0);

        calc::UnstableCase compound;
        compound.blockName = QStringLiteral("Склад");
        compound.compound = QStringLiteral("Тротил");
        compound.massText = QStringLiteral("100");
        compound.energyText = QStringLiteral("4520");
        compound.mass = 100;
        compound.energy = 4520;
        const calc::ZoneRun unstable = std::get<calc::ZoneRun>(calc::runUnstable(compound));
        calc::SummaryCase summary;
        summary.wt0Text = QStringLiteral("50");
        summary.wt1Text = QStringLiteral("25");
        summary.wt0 = 50;
        summary.wt1 = 25;
        const calc::ZoneRun summed = std::get<calc::ZoneRun>(calc::runSummary(summary));
        const QList<calc::BlockEnergies> rows = {{QStringLiteral("Колонна"), 30e6, 0, 0, 0, 0, 0, 1000}};
        const calc::ComplexRun complex{rows, std::get<calc::ComplexResult>(calc::runComplex(rows))};
        const report::BlockRegister reg = report::makeRegister(*store, records::listCalculations(*store));

        return {
            {"main", [=](const records::Signature& s) {
                 return report::buildMainReport({inputs, result, view, NyuMemory{}, s});
             }},
            {"appendix", [=](const records::Signature& s) {
                 report::AppendixData d;
                 d.result = result;
                 d.view = view;
                 d.z = result.z;
                 d.row6 = five.row6;
                 d.calculator = five;
                 d.signature = s;
                 return report::buildAppendixReport(d);
             }},
            {"model II", [=](const records::Signature& s) {
                 return report::buildUnstableReport(compound, unstable, report::zoneTable(unstable.R0),
                                                    report::ZoneMapData{unstable.R0, std::nullopt}, s);
             }},
            {"model III", [=](const records::Signature& s) {
                 return report::buildSummaryReport(summary, summed, report::zoneTable(summed.R0),
                                                   report::ZoneMapData{summed.R0, std::nullopt}, s);
             }},
            {"model IV", [=](const records::Signature& s) {
                 return report::buildComplexReport(complex, report::zoneTable(complex.result.R0),
                                                   report::ZoneMapData{complex.result.R0, std::nullopt}, s);
             }},
            {"register", [=](const records::Signature& s) { return report::registerDocx(reg, s); }},
        };
    }

    // The paragraphs of the document read back through the builder.
    QStringList paragraphs(const QByteArray& bytes)
    {
        const QString path = folder.file(QStringLiteral("отчет.docx"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        return test::paragraphTexts(docx::Document::open(path).documentXml());
    }

    test::TempFolder folder;
    std::unique_ptr<db::Store> store;
};

TEST_F(SignatureBlock, EveryReportEndsWithItAndWithoutItHasNoTraceOfIt)
{
    const records::Signature signature{QStringLiteral("Ведущий инженер"), QStringLiteral("Иванов И. И."),
                                       QStringLiteral("Технологический регламент")};
    const QStringList lines = report::signatureLines(signature);
    for (const auto& [name, make] : reports()) {
        SCOPED_TRACE(name);
        const QStringList unsignedText = paragraphs(make({}));
        for (const QString& p : unsignedText) {
            EXPECT_FALSE(p.startsWith(QStringLiteral("Расчет выполнил"))) << p.toStdString();
            EXPECT_FALSE(p.startsWith(QStringLiteral("Исходные данные:"))) << p.toStdString();
        }
        // The signed report is the same report with the lines at its very end.
        const QStringList signedText = paragraphs(make(signature));
        EXPECT_EQ(signedText.mid(0, unsignedText.size()), unsignedText);
        EXPECT_EQ(signedText.mid(unsignedText.size()), lines);
    }
}

}  // namespace
