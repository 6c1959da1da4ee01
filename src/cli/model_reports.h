#pragma once

#include "cli/cli.h"

#include "calc/complex_calculation.h"
#include "calc/rasch_result.h"
#include "calc/tnt_equivalent.h"
#include "records/calculation_inputs.h"
#include "records/signature.h"
#include "report/results_view.h"
#include "report/zone_map.h"
#include "report/zone_table.h"

#include <functional>
#include <optional>
#include <variant>

namespace veltron::cli {

// "report model2 …", "report model3 …" and "report model4 …": the words after "report".
bool isModelReport(const QStringList& args);
// `signature` ends the report.
int modelReportCommand(Context& ctx, const QStringList& args, const records::Signature& signature);

// A run of model II or III made for a file: the words "model2 …" or
// "model3 …" with --out and an optional --pressure, parsed, run and
// journalled as the model's screen does.
struct ModelOutput {
    calc::ZoneRun run;
    std::optional<report::Overpressure> calculator;  // the calculator's row, when there is one
    QString out;
    std::function<QByteArray(const calc::ZoneRun&, const report::ZoneTable&, const report::ZoneMapData&,
                             const records::Signature&)>
        report;
};
// Nothing but the exit status when the words are wrong (the usage, starting
// with `command`, then `outTail`, goes to err) or the run stops.
std::variant<ModelOutput, int> runModelForOutput(Context& ctx, const QStringList& args, const QString& command,
                                                 const QString& outTail);

// A stored calculation of model I run as its results screen shows it, with
// its journal row. Nothing but the exit status when the name is unknown (1)
// or the run stops (2, its message printed). Throws db::StoreError.
struct StoredRun {
    calc::RaschResult result;
    records::CalculationInputs inputs;
    report::ResultsView view;
};
std::variant<StoredRun, int> runStored(Context& ctx, const QString& name);

// A run of model IV over the stored rows of the complex calculation `name`,
// with its journal row; nothing but the exit status when it cannot be done
// (the reason on err, a stop also as JSON on out with status 2).
std::variant<calc::ComplexRun, int> runModel4(Context& ctx, const QString& name);

// A run that stops: its message as the screen shows it, on stdout as JSON
// and on stderr as text.
void printStop(Context& ctx, const calc::Stop& stop);

// {"file": path} on out; status 0.
int printFileWritten(Context& ctx, const QString& path);

}  // namespace veltron::cli
