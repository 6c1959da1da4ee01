#pragma once

#include "db/store.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace veltron::records {

// The chemically unstable compounds of Explosives as model II offers them.
// Store failures throw db::StoreError.

// Compound names in Russian alphabetical order.
QStringList explosiveNames(const db::Store& store);

// A compound with its specific explosion energy, kJ/kg (nothing when the
// directory leaves it empty).
struct Explosive {
    QString Name;
    std::optional<double> Energy;
};
// The first compound of that name.
std::optional<Explosive> findExplosive(const db::Store& store, const QString& name);

}  // namespace veltron::records
