#pragma once

#include "records/app_state.h"

namespace veltron {

// Registers the screens of models II, III and IV with the navigator.
void registerModelScreens(AppState& state);

}  // namespace veltron
