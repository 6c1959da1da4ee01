#pragma once

#include "calc/rasch_result.h"
#include "calc/run_inputs.h"
#include "db/data_source.h"
#include "db/store.h"

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

// Process-wide state of one program run, owned by main() and handed to the
// screens that need it.
struct AppState {
    QString programDir;   // executable, templates, user manual
    QString dataDir;      // the two databases and "Data Source.txt"
    QString dsn;          // the shared data source chosen at start (--dsn, VELTRON_DSN); empty: none
    db::ConnectionStrings connection;
    std::unique_ptr<db::Store> store;

    // The calculation being worked on.
    double currentId = 0;
    QString currentName;

    // 0: the name dialog renames, 1: it saves under another name.
    int saveMode = 0;

    // Folder proposed by every report save dialog; empty until confirmed.
    QString reportFolder;

    // Run settings of model I: set by loading a calculation, by the settings
    // screens; settingsConfirmed only between the run settings dialog's
    // confirmation and the next run.
    calc::RunSettings runSettings;
    bool settingsConfirmed = false;

    HeatInflow heatInflow;

    // Air speed and temperature of the last evaporation-intensity calculation.
    double nyuSpeed = 0;
    double nyuTemperature = 0;

    // The last completed run of model I and the inputs it ran on.
    std::optional<calc::RaschResult> lastResult;
    std::optional<calc::RunInputs> lastInputs;

    db::Store& db() const { return *store; }
};

}  // namespace veltron
