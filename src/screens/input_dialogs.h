#pragma once

#include "records/app_state.h"
#include "screens/input_source.h"

namespace veltron::screens {

// The calculators the input screen opens. Each hides the input screen while
// it is shown, reads the inputs as a typed value and hands its result back
// through the input source.

// z dialog: follows the space type of the inputs, starts from their z and
// hands the chosen z back.
void openZDialog(AppState& state, InputSource& input);

// Evaporation-intensity calculator: starts from the air temperature of the
// inputs; "Ввести" hands back the temperature and the coefficient.
void openNyuCalculator(AppState& state, InputSource& input);

}  // namespace veltron::screens
