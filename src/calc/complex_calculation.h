#pragma once

// Model IV, the complex calculation: the energies of several blocks, each
// computed earlier by model I and set aside under a name, summed into one
// result: the total energy, the reduced mass, the relative energy potential,
// the category, the TNT equivalent and the destruction zones.

#include "calc/engine.h"
#include "calc/zones.h"

#include <QList>
#include <QString>

#include <variant>

namespace veltron::calc {

// One block's results of model I under a name: an entry of the pool of the
// complex calculations, and a row of a complex calculation.
struct BlockEnergies {
    QString pName;
    double E11 = 0;  // kJ
    double E12 = 0;
    double E21 = 0;
    double E22 = 0;
    double E23 = 0;
    double E24 = 0;
    double Wt = 0;  // kg
    bool operator==(const BlockEnergies&) const = default;
};

struct ComplexResult {
    double E = 0;  // kJ, the energies of every row
    double m = 0;  // kg
    double Q = 0;
    QString Zn_kategor;
    // kg: the rows' TNT equivalents summed and rounded to one decimal, the
    // number the screen shows; the zones are computed from it.
    double Wt = 0;
    RadiusFormula formula = RadiusFormula::Corrected22_1;
    double R0 = 0;  // m
    ZoneRadii Rzone{};
};

using ComplexOutcome = std::variant<ComplexResult, Stop>;

// The run over the rows in their order. A negative or uncomputable total
// stops it with a message.
ComplexOutcome runComplex(const QList<BlockEnergies>& rows);

// A completed run with its rows.
struct ComplexRun {
    QString name;  // the complex calculation's name
    QList<BlockEnergies> rows;
    ComplexResult result;
};

// Name_ob of the journal row of every run; its Conc stays empty.
inline const QString kComplexJournalName = QStringLiteral("Комплексный");

}  // namespace veltron::calc
