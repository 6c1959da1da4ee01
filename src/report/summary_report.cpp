#include "report/summary_report.h"

#include "report/format.h"

namespace veltron::report {

QString asTypedInBox(const QString& number)
{
    QString text = number;
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

QString summaryJournalName(const calc::SummaryCase& c)
{
    return c.wt0Text + QLatin1Char('+') + c.wt1Text;
}

const QStringList& summaryBookmarks()
{
    static const QStringList names = {
        QStringLiteral("mWt0"), QStringLiteral("mWt1"), QStringLiteral("mWt"),    QStringLiteral("mR0"),
        kZoneTableBookmark,     QStringLiteral("R0"),   QStringLiteral("Metka4"),
    };
    return names;
}

std::map<QString, QString> summaryTexts(const calc::SummaryCase& c, const calc::ZoneRun& run)
{
    return {
        {QStringLiteral("mWt0"), c.wt0Text},
        {QStringLiteral("mWt1"), c.wt1Text},
        {QStringLiteral("mWt"), FormatResult(run.Wt)},
        {QStringLiteral("mR0"), FormatResult(run.R0)},
        {QStringLiteral("R0"), FormatResult(run.R0)},
        {QStringLiteral("Metka4"), QString::fromLatin1(calc::formulaName(run.formula))},
    };
}

QByteArray buildSummaryReport(const calc::SummaryCase& c, const calc::ZoneRun& run, const ZoneTable& table,
                              const ZoneMapData& map, const records::Signature& signature)
{
    return buildZoneReport(kSummaryTemplate, summaryBookmarks(), summaryTexts(c, run),
                           QStringLiteral("отчета суммарного расчета"), table, map, signature);
}

}  // namespace veltron::report
