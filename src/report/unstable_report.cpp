#include "report/unstable_report.h"

#include "report/format.h"

namespace veltron::report {

UnstableView unstableView(const calc::UnstableCase& c, const calc::ZoneRun& run)
{
    return {c.blockName, c.compound, c.massText, c.energyText, FormatResult(run.Wt)};
}

const QStringList& unstableBookmarks()
{
    static const QStringList names = {
        QStringLiteral("Name_blok"), QStringLiteral("Wt"), QStringLiteral("mWk1"),  QStringLiteral("mqk1"),
        kZoneTableBookmark,          QStringLiteral("R0"), QStringLiteral("Name2"), QStringLiteral("Metka4"),
    };
    return names;
}

std::map<QString, QString> unstableTexts(const calc::UnstableCase& c, const calc::ZoneRun& run)
{
    return {
        {QStringLiteral("Name_blok"), c.blockName},
        {QStringLiteral("Wt"), FormatResult(run.Wt)},
        {QStringLiteral("mWk1"), FormatResult(c.mass)},
        {QStringLiteral("mqk1"), FormatResult(c.energy)},
        {QStringLiteral("R0"), FormatResult(run.R0)},
        {QStringLiteral("Name2"), c.compound},
        {QStringLiteral("Metka4"), QString::fromLatin1(calc::formulaName(run.formula))},
    };
}

QByteArray buildUnstableReport(const calc::UnstableCase& c, const calc::ZoneRun& run, const ZoneTable& table,
                               const ZoneMapData& map, const records::Signature& signature)
{
    return buildZoneReport(kUnstableTemplate, unstableBookmarks(), unstableTexts(c, run),
                           QStringLiteral("отчета по нестабильным соединениям"), table, map, signature);
}

}  // namespace veltron::report
