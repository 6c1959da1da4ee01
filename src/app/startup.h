#pragma once

#include "records/app_state.h"

#include <QString>

namespace veltron {

// Connects the state to a store: the shared data source chosen at start
// alone; without one the embedded store of the data folder first, then the
// ODBC source named in "Data Source.txt". On success the main menu is shown;
// a source without the program's tables first asks to create them;
// otherwise the message and the data-source dialog. A store of "Data
// Source.txt" opened because the embedded one failed is announced first,
// unless announceFallback is false.
void startUp(AppState& state, bool announceFallback = true);

// The outcome of trying the sources, without any screen.
struct ConnectAttempt {
    bool connected = false;
    bool needsTables = false; // connected to a source without the program's tables
    bool needsStore = false;  // the named data folder is missing or holds no store
    QString dataSourceName;   // the shared source, else the first line of the data-source file
    QString error;            // why the store could not be opened
    // Not empty when the store is the source of "Data Source.txt", opened
    // because the embedded store failed: what the user is told about it.
    QString fallbackNotice;
};
ConnectAttempt connect(AppState& state);

// For a connected source without the program's tables: asks whether to
// create them. Yes creates the tables and the seed data in one transaction
// and returns true; No, or a failure (reported), lets the store go and
// leaves its database untouched.
bool offerTables(AppState& state);

// For a named data folder that is missing or holds no store: asks whether
// to make one there. Yes creates the folder and a new store with the seed
// data and returns true; No, or a failure (reported), leaves the folder as
// it was.
bool offerStore(AppState& state);

// Opens the named ODBC source into the state; false and the reason on failure.
bool connectNamed(AppState& state, const QString& dsn, QString* error);

// Registers the screens of the start-up subsystem with the navigator.
void registerAppScreens(AppState& state);

}  // namespace veltron
