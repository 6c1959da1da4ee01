#pragma once

#include "records/app_state.h"

class QWidget;

namespace veltron::screens {

class RunRequest;

// The dialogs of model I as the input screen and the block editor open them.
// Each reads and writes the opener's controls by their names and hides the
// opener while it is shown.

// z dialog: follows the opener's space type (Option3 "вне помещения"), starts
// from its Zet and writes the chosen z back into Zet.
void openZDialog(AppState& state, QWidget* inputScreen);

// Evaporation-intensity calculator: starts from the opener's Tempv; "Ввести"
// writes Tempv and txtNyu.
void openNyuCalculator(AppState& state, QWidget* inputScreen);

// Settings screen of the menu "Настройки".
void openSettingsScreen(AppState& state, QWidget* inputScreen);

// Heat-inflow dialog of the block editor: starts from its Sk_teploper_GF and
// the heat-inflow state, writes the rate back into Sk_teploper_GF.
void openHeatInflowDialog(AppState& state, QWidget* blockEditor);

// The run request of the input screen ("Расчет" button and menu), created
// once per input screen and owned by it.
RunRequest* runRequestOf(AppState& state, QWidget* inputScreen);

}  // namespace veltron::screens
