#pragma once

#include "records/app_state.h"

namespace veltron {

// Registers the screens of models II and III with the navigator.
void registerModelScreens(AppState& state);

}  // namespace veltron
