#pragma once

// «Экспорт расчета…» and «Импорт расчета…» of the list of calculations: a
// calculation written to a .veltron file in the report folder, and the
// calculations of such a file added to the store.

#include "records/app_state.h"
#include "records/exchange.h"

#include <optional>

namespace veltron::screens {

// Asks for the file and writes the calculation into it; returns the path
// written, or an empty text.
QString exportCalculation(AppState& state, const records::Calculation& calculation);

// Asks for a file and imports its calculations in one transaction: a name
// the store already has is asked for anew; a file that cannot be imported
// is refused with the reason and changes nothing. The user is told what
// came in and which directory records came in under other names. Nothing
// when nothing was imported.
std::optional<records::ImportResult> importCalculations(AppState& state);

}  // namespace veltron::screens
