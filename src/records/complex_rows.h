#pragma once

// The rows of a complex calculation (tabSumm_rasch): block results copied
// from the pool, kept in the order they were added.

#include "calc/complex_calculation.h"
#include "db/store.h"

#include <QList>

namespace veltron::records {

// The rows of complex calculation id in their order. The store keeps the
// version of the calculation read, which saving and deleting check.
QList<calc::BlockEnergies> openComplexRows(const db::Store& store, int id);

// Replaces the stored rows of the calculation by these, all or nothing.
// Throws ConcurrentChange when another program changed or deleted the
// calculation after this one opened it.
void saveComplexRows(db::Store& store, int id, const QList<calc::BlockEnergies>& rows);

// Deletes the complex calculation with its rows, all or nothing, checked as saving is.
void deleteComplexCalculation(db::Store& store, int id);

}  // namespace veltron::records
