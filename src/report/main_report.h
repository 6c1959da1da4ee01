#pragma once

#include "calc/rasch_result.h"
#include "records/app_state.h"
#include "records/calculation_inputs.h"
#include "records/signature.h"
#include "report/docx/document.h"
#include "report/results_view.h"

#include <QByteArray>

namespace veltron::report {

// What the main calculation report of model I prints: the inputs the run
// used, as the input screen held them, the run's result, the texts of the
// results screen, and the air speed and temperature the evaporation
// calculator last used (those of a freshly started program when it was
// never opened).
struct MainReportData {
    records::CalculationInputs inputs;
    calc::RaschResult result;
    ResultsView view;
    NyuMemory nyu;
    records::Signature signature;  // the block that ends the report
};

// The filled report document. Throws docx::DocxError when the template, a
// fragment or a bookmark is missing.
docx::Document assembleMainReport(const MainReportData& data);

// The finished report as .docx bytes; throws as assembleMainReport.
QByteArray buildMainReport(const MainReportData& data);

}  // namespace veltron::report
