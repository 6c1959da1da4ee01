#pragma once

#include "calc/reference.h"
#include "calc/run_inputs.h"
#include "calc/zones.h"

#include <QString>

#include <array>
#include <vector>

namespace veltron::calc {

// What a run computes for one adjacent block.
struct AdjacentResult {
    int Id = 0;
    // The block's own substance as the run read it: an index into
    // RaschResult::adjacentSubstances, see RaschResult::substanceOf.
    std::size_t substance = 0;
    double w12 = 0;
    double g12 = 0;
    bool g12_entered = false;
    double e12 = 0;
    double w21 = 0;
    double g21 = 0;
    bool g21_entered = false;
    double e21 = 0;
    double e22 = 0;
    double e23 = 0;
};

// The result record of one model I run. A field the path taken does not
// compute stays 0.
struct RaschResult {
    double A = 0;
    double Betta = 0;
    double G = 0;
    bool G_entered = false;
    double V0 = 0;  // volume of the vapour-gas phase at normal conditions; 0 when G was entered
    double Gq = 0;
    double E11 = 0;
    double E12 = 0;
    double Ggf = 0;
    bool Ggf_entered = false;
    double E21own = 0;
    double E21 = 0;
    double E22 = 0;
    double E23 = 0;
    double E24 = 0;
    double Gperegr = 0;
    double G23 = 0;
    double qr = 0;
    double Tr = 0;
    double PnT = 0;
    double PnTr = 0;
    double Cn = 0;
    double Nyu = 0;
    double W = 0;
    double Eps = 0;
    double KoefG = 0;         // as used in formula 16
    double KoefG_report = 0;  // written with "0.00" and read back, for the report
    double G4 = 0;
    double G5 = 0;
    double Gs = 0;
    bool G4_entered = false;
    bool G5_entered = false;
    bool Gs_entered = false;
    double GW = 0;
    int Tau = 0;
    double Tau_max = 0;
    double Tau15 = 0;
    double E = 0;
    double m = 0;
    double Q = 0;
    QString Zn_kategor;
    double Wt = 0;
    double R0 = 0;
    std::array<double, 5> Rzone{};

    std::vector<AdjacentResult> adjacent;  // grid order
    // The substances of the adjacent blocks, read once for each run of
    // blocks of the same substance rather than copied into every block.
    std::vector<SubstData> adjacentSubstances;
    const SubstData& substanceOf(const AdjacentResult& a) const { return adjacentSubstances.at(a.substance); }

    // Captions of the results screen's notes; empty when the note is hidden.
    QString Label17;  // saturated vapour pressure came out 0
    QString Label28;  // spill evaporation note
    // Formula 14.2 gave no saturated vapour pressure at the design
    // temperature, at or below the boiling point, so the evaporation
    // intensity W is 0; pnNote() says why in words.
    bool PnNotDetermined = false;

    // Inputs the results screen and the reports repeat.
    SubstData subst;  // the main block's substance
    GeneralConditions conditions;
    double z = 0;
};

}  // namespace veltron::calc
