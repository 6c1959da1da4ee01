#pragma once

#include "cli/cli.h"

namespace veltron::cli {

// "report model2 …", "report model3 …" and "report model4 …": the words after "report".
bool isModelReport(const QStringList& args);
int modelReportCommand(Context& ctx, const QStringList& args);

}  // namespace veltron::cli
