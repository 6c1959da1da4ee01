#pragma once

// Model II, the TNT equivalent of a chemically unstable compound: what its
// results screen shows and what its report prints.

#include "calc/tnt_equivalent.h"
#include "records/signature.h"
#include "report/zone_table.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <map>

namespace veltron::report {

// The texts of the results screen.
struct UnstableView {
    QString Name_blok, lKvv, lMassa, lqk, LWt;
};
UnstableView unstableView(const calc::UnstableCase& c, const calc::ZoneRun& run);

inline const QString kUnstableTemplate = QStringLiteral("otchet_veltron_TV.docx");
// Every bookmark of the template in the order the report fills them.
const QStringList& unstableBookmarks();
// The texts of every bookmark but the zone table.
std::map<QString, QString> unstableTexts(const calc::UnstableCase& c, const calc::ZoneRun& run);
// The finished report, with the map of the zones after the zone table;
// throws docx::DocxError when the template or one of its bookmarks is missing.
QByteArray buildUnstableReport(const calc::UnstableCase& c, const calc::ZoneRun& run, const ZoneTable& table,
                               const ZoneMapData& map, const records::Signature& signature = {});

}  // namespace veltron::report
