#include "report/appendix_report.h"

#include "calc/engine.h"
#include "report/docx/templates.h"
#include "report/signature_block.h"
#include "report/format.h"
#include "report/zone_map.h"

namespace veltron::report {

std::map<QString, QString> appendixTexts(const AppendixData& d)
{
    const calc::RaschResult& r = d.result;
    std::map<QString, QString> t;
    t[QStringLiteral("m2")] = formatPattern(r.m, QStringLiteral("0.00"));
    t[QStringLiteral("Name1")] = d.blockName;
    t[QStringLiteral("Name2")] = d.blockName;
    t[QStringLiteral("Metka4")] = r.m > 5000 ? QStringLiteral("(22.2)") : QStringLiteral("(22.1)");
    t[QStringLiteral("wt")] = d.view.Wt;
    t[QStringLiteral("mWt")] = d.view.Wt;
    // R0 is written one way in the text and in the table of the results.
    t[QStringLiteral("R0")] = FormatResult(r.R0);
    t[QStringLiteral("mR0")] = t[QStringLiteral("R0")];
    for (int i = 0; i < 5; ++i) {
        t[QStringLiteral("R%1").arg(i + 1)] = d.view.zoneRadius[i];
        t[QStringLiteral("mR%1").arg(i + 1)] = d.view.zoneRadius[i];
    }
    t[QStringLiteral("mz")] = formatTwoOrZero(d.z);
    t[QStringLiteral("mmst")] = formatTwoOrZero(d.z * r.m);
    t[QStringLiteral("mKateg")] = d.view.Zn_kategor;
    t[QStringLiteral("mR6_inf")] = d.row6[0];
    t[QStringLiteral("mR6_K")] = d.row6[1];
    t[QStringLiteral("mR6_P")] = d.row6[2];
    t[QStringLiteral("mR6_R")] = d.row6[3];
    // Why the mass m holds no evaporation into the air, when it holds none.
    t[QStringLiteral("MetkaW")] = calc::pnNote(r);
    return t;
}

QByteArray buildAppendixReport(const AppendixData& data)
{
    docx::Document document = docx::buildAppendix(docx::templatePath(docx::kAppendixTemplate), appendixTexts(data));
    document.dropEmptyParagraph(QStringLiteral("MetkaW"));
    fillZoneMapBookmark(document, ZoneMapData{data.result.R0, data.calculator});
    writeSignature(document, data.signature);
    return document.toDocx();
}

}  // namespace veltron::report
