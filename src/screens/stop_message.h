#pragma once

#include "calc/engine.h"

namespace veltron::screens {

// The message box of a run that ended without results.
void showStop(const calc::Stop& stop);

}  // namespace veltron::screens
