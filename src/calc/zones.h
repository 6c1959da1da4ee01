#pragma once

#include <array>
#include <optional>

namespace veltron::calc {

// Zone coefficients K1 … K5 of the five classes of destruction zones.
inline constexpr std::array<double, 5> kZoneK{3.8, 5.6, 9.6, 28, 56};

using ZoneRadii = std::array<double, 5>;

// The two formulas of the reduced radius: 22.1 corrects the cube root of the
// TNT equivalent for small charges, 22.2 is the plain cube root.
enum class RadiusFormula { Corrected22_1, CubeRoot22_2 };

// "(22.1)" or "(22.2)", as the reports name the formula.
const char* formulaName(RadiusFormula f);

// Formula 22.2 above 5000 kg, 22.1 up to 5000 kg inclusive.
RadiusFormula formulaForMass(double mass);

// The category of explosion hazard of a reduced mass m: "I" above 5000 kg,
// "II" from 2000 to 5000 kg inclusive, "III" below 2000 kg.
const char* categoryForMass(double m);

// R0 of a TNT equivalent Wt ≥ 0; 0 for Wt = 0. A negative Wt gives NaN: the
// callers refuse it before.
double reducedRadius(double Wt, RadiusFormula f);

// Ri = Ki × R0.
ZoneRadii zoneRadii(double R0);

// The coefficient K of an overpressure P within 2 … 100 kPa, approximated
// three ways and blended; the five table pressures give the table values.
// Kstep is computed from 28 kPa up, Kpol below 28 kPa.
struct OverpressureK {
    double K = 0;
    double Kint = 0;
    std::optional<double> Kstep;
    std::optional<double> Kpol;
};
OverpressureK overpressureCoefficients(double P);

// P limited to the range of the approximation, 2 … 100 kPa.
double clampOverpressure(double P);

}  // namespace veltron::calc
