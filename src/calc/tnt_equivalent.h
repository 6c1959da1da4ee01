#pragma once

// The TNT equivalent of a charge and its destruction zones: model II (a
// mass of a chemically unstable compound) and model III (the sum of two TNT
// equivalents).

#include "calc/engine.h"
#include "calc/zones.h"

#include <QString>

#include <variant>

namespace veltron::calc {

struct ZoneRun {
    double Wt = 0;  // kg
    RadiusFormula formula = RadiusFormula::Corrected22_1;
    double R0 = 0;  // m
    ZoneRadii Rzone{};
};

using ZoneOutcome = std::variant<ZoneRun, Stop>;

// What the model II input screen held for a run.
struct UnstableCase {
    QString blockName;   // Name_blok
    QString compound;    // the compound chosen in the list
    QString massText;    // Massa_G as typed
    QString energyText;  // Energy as typed
    double mass = 0;     // kg, the number of massText
    double energy = 0;   // kJ/kg, the number of energyText
};

// What the summary screen of model III held for a run.
struct SummaryCase {
    QString name;     // what the user called the calculation; may be empty
    QString wt0Text;  // txtWt0 as typed
    QString wt1Text;  // txtWt1 as typed
    double wt0 = 0;   // kg
    double wt1 = 0;   // kg
    RadiusFormula formula = RadiusFormula::Corrected22_1;
};

// A completed run with what it was given.
struct UnstableRun {
    UnstableCase input;
    ZoneRun result;
};
struct SummaryRun {
    SummaryCase input;
    ZoneRun result;
};

// Model II: Wt = M × q / 4520; R0 by formula 22.2 when M > 5000 kg, else 22.1.
ZoneOutcome runUnstable(double mass, double energy);

ZoneOutcome runUnstable(const UnstableCase& c);

// Model III: Wt = Wt0 + Wt1 with the formula the user chose.
ZoneOutcome runSummary(double wt0, double wt1, RadiusFormula formula);
ZoneOutcome runSummary(const SummaryCase& c);

// Conc of the journal row of a model III run.
inline const QString kSummaryJournalConc = QStringLiteral("Суммарный расчет");

}  // namespace veltron::calc
