#pragma once

#include "records/app_state.h"

class QWidget;

namespace veltron::screens {

// Hides `opener` and shows the report folder dialog on the folder kept in
// tabPath, with the signature of the reports under it; the dialog sets the
// process-wide report folder, keeps the signature and shows the opener again
// when it closes.
void openReportFolder(AppState& state, QWidget* opener);

}  // namespace veltron::screens
