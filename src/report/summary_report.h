#pragma once

// Model III, the summary of the TNT equivalents of the vapour-gas medium and
// of the unstable compounds: its journal entry and its report.

#include "calc/tnt_equivalent.h"
#include "records/signature.h"
#include "report/zone_table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

namespace veltron::report {

// A number given elsewhere than in an input box, as the box would hold it:
// a decimal point becomes the decimal comma.
QString asTypedInBox(const QString& number);

// Name_ob of the journal row: the two texts as typed, joined by "+".
QString summaryJournalName(const calc::SummaryCase& c);

inline const QString kSummaryTemplate = QStringLiteral("otchet_veltron_summ.docx");
// Every bookmark of the template in the order the report fills them.
const QStringList& summaryBookmarks();
// The texts of every bookmark but the zone table.
std::map<QString, QString> summaryTexts(const calc::SummaryCase& c, const calc::ZoneRun& run);
// The finished report, with the map of the zones after the zone table;
// throws docx::DocxError when the template or one of its bookmarks is missing.
QByteArray buildSummaryReport(const calc::SummaryCase& c, const calc::ZoneRun& run, const ZoneTable& table,
                              const ZoneMapData& map, const records::Signature& signature = {});

}  // namespace veltron::report
