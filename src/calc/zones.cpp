#include "calc/zones.h"

#include <cmath>

namespace veltron::calc {

const char* formulaName(RadiusFormula f)
{
    return f == RadiusFormula::CubeRoot22_2 ? "(22.2)" : "(22.1)";
}

RadiusFormula formulaForMass(double mass)
{
    return mass > 5000 ? RadiusFormula::CubeRoot22_2 : RadiusFormula::Corrected22_1;
}

const char* categoryForMass(double m)
{
    return m > 5000 ? "I" : m >= 2000 ? "II" : "III";
}

double reducedRadius(double Wt, RadiusFormula f)
{
    if (Wt == 0)
        return 0;
    const double cube = std::pow(Wt, 1.0 / 3);
    if (f == RadiusFormula::CubeRoot22_2)
        return cube;
    const double ratio = 3180 / Wt;
    return cube / std::pow(1 + ratio * ratio, 1.0 / 6);
}

ZoneRadii zoneRadii(double R0)
{
    ZoneRadii r{};
    for (std::size_t i = 0; i < kZoneK.size(); ++i)
        r[i] = kZoneK[i] * R0;
    return r;
}

double clampOverpressure(double P)
{
    return P > 100 ? 100 : P < 2 ? 2 : P;
}

OverpressureK overpressureCoefficients(double P)
{
    OverpressureK k;
    if (P >= 70 && P <= 100)
        k.Kint = (100 - P) * (5.6 - 3.8) / 30 + 3.8;
    else if (P >= 28 && P <= 70)
        k.Kint = (70 - P) * 4 / 42 + 5.6;
    else if (P >= 14 && P <= 28)
        k.Kint = (28 - P) * 18.4 / 14 + 9.6;
    else
        k.Kint = (14 - P) * 28 / 12 + 28;

    if (P >= 28) {
        k.Kstep = 111.05 * std::pow(P, -0.701);
        k.K = P > 90 ? k.Kint : (k.Kint + *k.Kstep) / 2;
    } else {
        k.Kpol = -0.0002489065 * P * P * P + 0.0497560912 * P * P - 3.0677837568 * P + 61.9220749902;
        k.K = (k.Kint + *k.Kpol) / 2;
    }

    // The table pressures take the table value.
    const struct {
        double P;
        double K;
    } table[] = {{100, 3.8}, {70, 5.6}, {28, 9.6}, {14, 28}, {2, 56}};
    for (const auto& t : table)
        if (P == t.P)
            k.K = t.K;
    return k;
}

}  // namespace veltron::calc
