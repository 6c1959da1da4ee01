#pragma once

#include "calc/engine.h"
#include "calc/run_inputs.h"
#include "db/store.h"
#include "records/blocks.h"
#include "records/calculations.h"

#include <QDateTime>

#include <functional>
#include <variant>

namespace veltron::records {

// A block record as the block grids hand it to a run.
calc::BlockData toBlockData(const Block& block);

// The inputs of a run of a stored calculation, exactly as the input screen
// holds them right after opening it and confirming the stored settings:
// general conditions from tabMain (η the stored nyu, z and the mirror area
// as the screen writes them), the surface data of the chosen surface, the
// run settings A, G, Pn and the entered masses of tabMain, the main block
// (Id 1) and the adjacent blocks in ascending Id.
// A calculation that the input screen could not start (no main block or
// no substance in it, no tabMain row, an unknown surface) gives the message
// the user sees instead. Store failures throw db::StoreError.
using LoadedInputs = std::variant<calc::RunInputs, calc::Stop>;
LoadedInputs loadRunInputs(const db::Store& store, const Calculation& calculation);

// The same for many calculations, reading the store in a few large queries:
// calls each(i, inputs) for every calculations[i], in no particular order.
void loadRunInputs(const db::Store& store, const QList<Calculation>& calculations,
                   const std::function<void(qsizetype, const LoadedInputs&)>& each);

// The journal row of one model I run.
void appendRunJournal(db::Store& store, const QString& calculationName,
                      const QDateTime& when = QDateTime::currentDateTime());

}  // namespace veltron::records
