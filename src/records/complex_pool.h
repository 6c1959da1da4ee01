#pragma once

#include "calc/complex_calculation.h"
#include "db/store.h"

#include <QList>
#include <QString>

#include <optional>

namespace veltron::records {

// One block's results of model I set aside under a name for the complex
// calculation: a row of tabKR.
using PoolEntry = calc::BlockEnergies;

// An entry as the pool list offers it.
struct PoolItem {
    int id = 0;
    QString pName;
    bool operator==(const PoolItem&) const = default;
};

// The pool by name in Russian alphabetical order.
QList<PoolItem> listPool(const db::Store& store);

// The entry with this Id; nothing when there is none (any more).
std::optional<PoolEntry> findPoolEntry(const db::Store& store, int id);

// Adds the entry under the next free Id (one above the largest); false,
// with nothing stored, when an entry of that name is already there. Store
// failures throw db::StoreError.
bool addPoolEntry(db::Store& store, const PoolEntry& entry);

// Deletes the entry; rows already copied into complex calculations stay.
void deletePoolEntry(db::Store& store, int id);

}  // namespace veltron::records
