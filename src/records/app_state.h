#pragma once

#include "calc/complex_calculation.h"
#include "calc/rasch_result.h"
#include "calc/run_inputs.h"
#include "calc/tnt_equivalent.h"
#include "db/data_source.h"
#include "db/store.h"
#include "records/calculations.h"

#include <QString>

#include <memory>
#include <optional>

namespace veltron {

// How the heat-inflow rate of an adjacent block was obtained: formula 0 =
// typed in, 1 … 3 = formulas 10.1 … 10.3 with their factors. The block
// editor loads it from and stores it with the block (formula, per1 … per3).
struct HeatInflow {
    double formula = 0;
    double per1 = 0;
    double per2 = 0;
    double per3 = 0;
    bool operator==(const HeatInflow&) const = default;
};

// Air speed and temperature of the last evaporation-intensity calculation.
struct NyuMemory {
    double speed = 0;
    double temperature = 0;
    bool operator==(const NyuMemory&) const = default;
};

// Process-wide state of one program run, owned by main() and handed to the
// screens that need it. Each part names the one place that writes it.
struct AppState {
    // Where the program and its data are, and the open store: start-up.
    QString programDir;   // the executable; its templates and manual: db/program_folders.h
    QString dataDir;      // the two databases and "Data Source.txt"
    // Named by --data or VELTRON_DATA: a store is made there only when the
    // user agrees (the default folder gets one on first use).
    bool dataDirNamed = false;
    QString dsn;          // the shared data source chosen at start (--dsn, VELTRON_DSN); empty: none
    db::ConnectionStrings connection;
    std::unique_ptr<db::Store> store;

    // The calculation being worked on: chosen in the lists of calculations,
    // renamed or replaced by the name dialog of the input screen.
    records::Calculation current;

    // Run settings of model I: taken from the calculation when the input
    // screen opens, set by the settings screen and by the run settings
    // dialog. settingsConfirmed is set only by the run settings dialog and
    // cleared by the opening of the input screen and by the run request.
    calc::RunSettings runSettings;
    bool settingsConfirmed = false;

    // Heat-inflow state of the adjacent block open in the block editor:
    // written only by the block editor (on loading a block, and with what
    // the heat-inflow dialog hands back).
    HeatInflow heatInflow;

    // Written only by the evaporation-intensity calculator; kept for the report.
    NyuMemory nyu;

    // Folder proposed by every report save dialog; empty until confirmed.
    // Written only by the report folder dialog.
    QString reportFolder;

    // The last completed run of model I; written only by the run request.
    std::optional<calc::RaschResult> lastResult;

    // The last completed run of model II, written only by its input screen
    // frmVzr_KVV, and of model III, written only by the summary screen frmSumm.
    std::optional<calc::UnstableRun> lastUnstable;
    std::optional<calc::SummaryRun> lastSummary;

    // The last completed run of model IV, written only by the complex
    // calculation screen frmOutput_KR.
    std::optional<calc::ComplexRun> lastComplex;

    db::Store& db() const { return *store; }
};

}  // namespace veltron
