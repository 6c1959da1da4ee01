#pragma once

#include <QString>

#include <vector>

namespace veltron::calc {

// One block as the block grids of the input screen hold it (a row of
// tabBloki), with the values entered by hand in the block editor.
struct BlockData {
    int Id = 1;
    QString Name_blok;
    QString Name;  // substance, a SubstChar.Name
    double V_GF = 0;
    double V_PGF = 0;
    double Davl = 0;
    double Temp = 0;
    double Plotn_GF = 0;
    double Plotn_PGF = 0;
    double Adiab = 0;
    // Adjacent blocks only.
    double S_sech = 0;
    double Sk_teploper_GG = 0;
    double Sk_teploper_GF = 0;
    double Koef_gidro = 0;
    double t = 0;
    double t_P = 0;
    double t_T = 0;
    double pVist = 0;
    double pVist_zad = 0;
    double pVistG = 0;
    double pVistG_zad = 0;
    // Entered values: a flag counts only when the stored value is exactly 1.
    bool G1 = false;
    double znG1 = 0;
    bool G2 = false;
    double znG2 = 0;
    bool mi = false;
    double pmi = 0;
};

// General conditions of the spill and the environment (input screen fields).
// Zet and S_G are kept as the texts of their fields, because the run compares
// them with "0" as texts before it reads them as numbers.
struct GeneralConditions {
    QString Zet = QStringLiteral("0,1");
    bool Check1 = false;  // formula 13.1: use the liquid mirror area
    QString S_G = QStringLiteral("0");
    double S_kontakt = 0;
    double t_kontakt = 0;
    double Tempv = 20;  // air
    double Tg = 20;     // liquid in the spill (txtTg)
    double Tempp = 20;  // solid surface
    double c = 0;             // surface heat capacity
    double p = 0;             // surface density
    double Koef_teplopr = 0;  // surface heat conductivity
    QString Name_poverhn;
    double Nyu = 1;
    bool Check2 = false;  // formula 15 with Uv and Lnkpr
    double Uv = 1;
    double Lnkpr = 20;
    bool Check3 = false;  // manual saturated vapour pressure at block temperature
    double Pn = 0;
    bool Check4 = false;  // manual saturated vapour pressure at design temperature
    double Pn1 = 0;
};

// Confirmed run settings. Invariant: a value that is not entered is 0, and
// with the total Gs entered, G4 and G5 are not.
struct RunSettings {
    int A = 0;   // 0 = formula 3.1, 1 = formula 3.2
    int G = 0;   // 0 = formula 12, 1 = formula 16
    int Pn = 1;  // 1 = formula 14.2, 2 = formula 14.3, anything else = Antoine
    bool Gs = false;
    double znGs = 0;
    bool G4 = false;
    double znG4 = 0;
    bool G5 = false;
    double znG5 = 0;

    bool operator==(const RunSettings&) const = default;
};

struct RunInputs {
    QString calculationName;  // for the journal row
    GeneralConditions conditions;
    RunSettings settings;
    BlockData main;
    std::vector<BlockData> adjacent;  // grid order
};

}  // namespace veltron::calc
