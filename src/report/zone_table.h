#pragma once

// The zone grid of every results screen and report: the five classes of
// destruction zones with their radii, and row 6, the zone of an overpressure
// the user types into the calculator.

#include "calc/zones.h"
#include "records/signature.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <map>

namespace veltron::docx {
class Document;
}

namespace veltron::report {

struct ZoneMapData;  // report/zone_map.h

QStringList zoneHeader();  // row 0 of the zone grid
// Rows 1 … 5 of the zone grid: class, K and deltaP.
const std::array<QStringList, 5>& zoneRows();

// The radius at which an overpressure of P kPa occurs: the coefficient K
// approximated three ways and blended, exact at the five table pressures.
struct Overpressure {
    bool clamped = false;  // P was outside 2 … 100 kPa and was replaced by the limit
    double P = 0;
    double K = 0;
    double radius = 0;
    QString txtP;                  // the pressure box after clamping
    QString txtX;                  // the radius, "0.00"
    QString Kint, Kstep, Kpol;     // the three approximations; empty where not computed
    std::array<QString, 4> row6;   // row 6 of the zone grid
};
Overpressure overpressure(double P, double R0);
double overpressureK(double P);  // P within 2 … 100

// The message shown for a pressure outside the approximation.
QString overpressureRangeMessage();

// The 7 × 4 texts of the zone grid: header, five zones with the radii Ki × R0
// formatted as results, and row 6 as the calculator last wrote it.
using ZoneTable = std::array<std::array<QString, 4>, 7>;
ZoneTable zoneTable(double R0, const std::array<QString, 4>& row6 = {});

// A grid as a table of the report at the bookmark: every cell as in the
// grid, 12 pt, outer borders 1.5 pt, inner borders 0.5 pt. The rows are as
// wide as the first one.
void writeGridTable(docx::Document& document, const QString& bookmark, const QList<QStringList>& rows);

// The zone grid as such a table.
void writeZoneTable(docx::Document& document, const QString& bookmark, const ZoneTable& table);

// The map of the zones at print resolution in a paragraph after what the
// bookmark holds, with the caption "Рисунок — Зоны разрушения" under it.
void writeZoneMap(docx::Document& document, const QString& bookmark, const ZoneMapData& map);

// The map at a bookmark of its own, an empty paragraph that a template puts
// after the zone table it holds: the paragraph gives way to the picture and
// its caption, and the bookmark encloses them.
inline const QString kZoneMapBookmark = QStringLiteral("mZoneMap");
void fillZoneMapBookmark(docx::Document& document, const ZoneMapData& map);

// The zone table at the bookmark and right after it the map of the same zones.
void writeZoneTableAndMap(docx::Document& document, const QString& bookmark, const ZoneTable& table,
                          const ZoneMapData& map);

// The bookmark of the zone table in the reports of models II and III.
inline const QString kZoneTableBookmark = QStringLiteral("Begin1");

// A report of the template `templateName` whose bookmarks (all named in
// `bookmarks`) take texts, except Begin1, which takes the zone table and the
// map. Throws docx::DocxError when the template or a bookmark is missing.
QByteArray buildZoneReport(const QString& templateName, const QStringList& bookmarks,
                           const std::map<QString, QString>& texts, const QString& documentGenitive,
                           const ZoneTable& table, const ZoneMapData& map, const records::Signature& signature);

}  // namespace veltron::report
