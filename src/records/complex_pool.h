#pragma once

#include "db/store.h"

#include <QString>

namespace veltron::records {

// One block's results of model I set aside under a name for the complex
// calculation: a row of tabKR.
struct PoolEntry {
    QString pName;
    double E11 = 0;
    double E12 = 0;
    double E21 = 0;
    double E22 = 0;
    double E23 = 0;
    double E24 = 0;
    double Wt = 0;
};

// Adds the entry under the next free Id (one above the largest); false,
// with nothing stored, when an entry of that name is already there. Store
// failures throw db::StoreError.
bool addPoolEntry(db::Store& store, const PoolEntry& entry);

}  // namespace veltron::records
