#pragma once

#include "records/app_state.h"

namespace veltron {

// Registers the directories with the navigator under their screen names:
// frmVvo, frmBD_Type, frmBD_Goryuch, frmBD_KVV, and the organisation-list
// editor as "frmBD/tabDolgn" and "frmBD/tabIstochnik".
void registerDirectoryScreens(AppState& state);

}  // namespace veltron
