#pragma once

#include "records/app_state.h"

#include <QString>

namespace veltron {

// Connects the state to a store: the embedded one of the data folder first,
// then the ODBC source named in "Data Source.txt". On success the main menu
// is shown; otherwise the message and the data-source dialog.
void startUp(AppState& state);

// The outcome of trying both sources, without any screen.
struct ConnectAttempt {
    bool connected = false;
    QString dataSourceName;   // first line of the data-source file
    QString embeddedError;    // why the embedded store could not be opened
};
ConnectAttempt connect(AppState& state);

// Opens the named ODBC source into the state; false and the reason on failure.
bool connectNamed(AppState& state, const QString& dsn, QString* error);

// Registers the screens of the start-up subsystem with the navigator.
void registerAppScreens(AppState& state);

}  // namespace veltron
