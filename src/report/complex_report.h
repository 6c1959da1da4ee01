#pragma once

// Model IV, the complex calculation: the texts of its rows grid and results
// frame, and its report.

#include "calc/complex_calculation.h"
#include "records/signature.h"
#include "report/zone_table.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <map>

namespace veltron::report {

// A value of a block written in full: the shortest digits that read back to
// the same number, without an exponent from 0,00001 up to 10^15.
QString fullNumber(double x);

// Row 0 of the rows grid tabRasch and of the report's table of the rows.
QStringList complexRowsHeader();
// The eight cells of a row: the name, then E11 … E24 and Wt written in full.
QStringList complexRowTexts(const calc::BlockEnergies& row);

// The texts of the results frame: m, Q and Wt with "0.0", and the category.
struct ComplexView {
    QString m, Q, Wt, Zn_kategor;
};
ComplexView complexView(const calc::ComplexResult& r);

inline const QString kComplexTemplate = QStringLiteral("otchet_veltron_kr.docx");
// The bookmark of the table of the rows.
inline const QString kComplexRowsBookmark = QStringLiteral("Begin1");
// Every bookmark of the template in the order the report fills them.
const QStringList& complexBookmarks();
// The texts of every bookmark but the table of the rows; `zones` gives row 6,
// the overpressure calculator's row.
std::map<QString, QString> complexTexts(const calc::ComplexResult& r, const ZoneTable& zones);
// The finished report, with the map of the zones after the zone table;
// throws docx::DocxError when the template or one of its bookmarks is missing.
QByteArray buildComplexReport(const calc::ComplexRun& run, const ZoneTable& zones, const ZoneMapData& map,
                              const records::Signature& signature = {});

}  // namespace veltron::report
