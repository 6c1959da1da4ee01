#pragma once

#include "calc/rasch_result.h"
#include "records/signature.h"
#include "report/results_view.h"
#include "report/zone_table.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <map>
#include <optional>

namespace veltron::report {

// What the appendix on the TNT equivalent and the destruction zones prints:
// the values of the last run as the results screen shows them.
struct AppendixData {
    calc::RaschResult result;
    ResultsView view;
    double z = 0;                  // the fraction of the run
    QString blockName;             // the calculated block, cell (1, 0) of the block grid
    std::array<QString, 4> row6;   // row 6 of the zone grid: caption, K, P, radius
    // The calculator's last result, whose zone the map draws beside R1 … R5.
    std::optional<Overpressure> calculator;
    records::Signature signature;  // the block that ends the report
};

// Bookmark texts of the appendix template.
std::map<QString, QString> appendixTexts(const AppendixData& data);

// The finished appendix document, its texts and the map of the zones after
// the zone table; throws docx::DocxError when the template or one of its
// bookmarks is missing.
QByteArray buildAppendixReport(const AppendixData& data);

}  // namespace veltron::report
