#pragma once

#include "db/store.h"

#include <QString>
#include <QStringList>

namespace veltron::test {

// The calculation of the seed data: a propane vessel of category I.
inline const QString kExample = QStringLiteral("Пример — резервуар пропана");

// A copy of the example's main block alone, its volumes times `scale`, as a
// calculation of its own: 0.5 keeps category I, 0.2 gives II, 0.08 and 0.01 III.
void addScaledExample(db::Store& store, const QString& name, double scale);

// Calculations of every category next to the example, and one whose run
// stops (it has no main block). Returns the names in register order:
// category I, II, III by m descending, then the stopped one.
QStringList addMixedCalculations(db::Store& store);
inline const QString kStoppingCalculation = QStringLiteral("Без основного блока");

}  // namespace veltron::test
