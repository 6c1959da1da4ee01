#pragma once

#include "calc/nyu_coefficient.h"
#include "db/rows.h"
#include "db/store.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace veltron::records {

// The lookups of the directories that the model I screens make: surfaces,
// substances, fuel kinds and the evaporation-intensity table. A name is
// looked up as the first row of that name. Store failures throw db::StoreError.

// A surface of tabPoverhn: density p, heat conductivity lyambda, heat capacity c.
struct Surface {
    QString Name;
    double p = 0;
    double lyambda = 0;
    double c = 0;
};

// Surface names in Russian alphabetical order.
QStringList surfaceNames(const db::Store& store);
std::optional<Surface> findSurface(const db::Store& store, const QString& name);
// The surface of a row of a query that selects "Name, p, lyambda, c". A
// number field that holds something else than a number throws
// db::NotANumber naming the surface.
Surface surfaceFrom(const db::Row& row);

// What the block editor takes from a substance of SubstChar.
struct Substance {
    QString Name;
    int Vid_vva = 0;
    double PokAdiab = 0;
    double Plotn_GF = 0;
    std::optional<double> Mol_massa;  // nothing when the directory has no value
};

// Names of the substances of one kind (Vid_vva: 1 substance, 2 mixture) in
// Russian alphabetical order.
QStringList substanceNames(const db::Store& store, int kind);
std::optional<Substance> findSubstance(const db::Store& store, const QString& name);

// A fuel kind of tabGoryuch with its fraction z for closed volumes.
struct FuelKind {
    QString Name;
    double z = 0;
};

// Every fuel kind in the order of the table.
QList<FuelKind> fuelKinds(const db::Store& store);
std::optional<FuelKind> findFuelKind(const db::Store& store, const QString& name);

// The rows of tabNyu of one air speed in ascending temperature.
std::vector<calc::NyuPoint> nyuRowsAt(const db::Store& store, double speed);

// Boiling temperatures of the rows of tabG, the table of formula 16, ascending.
std::vector<double> massTableTemperatures(const db::Store& store);

}  // namespace veltron::records
