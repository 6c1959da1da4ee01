#pragma once

#include "records/app_state.h"

namespace veltron {

// Registers the screens of model I input with the navigator: the two lists
// of calculations and the input screen.
void registerModelIScreens(AppState& state);

}  // namespace veltron
