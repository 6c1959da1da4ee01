#pragma once

#include "cli/cli.h"

namespace veltron::cli {

// "report model2 …" and "report model3 …": the words after "report".
bool isModelReport(const QStringList& args);
int modelReportCommand(Context& ctx, const QStringList& args);

}  // namespace veltron::cli
