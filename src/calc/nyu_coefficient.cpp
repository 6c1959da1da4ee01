#include "calc/nyu_coefficient.h"

#include "calc/number_text.h"

#include <utility>

namespace veltron::calc {

double interpolate(double x, double x1, double y1, double x2, double y2)
{
    if (x2 == x1)
        return y1;
    return y1 + (y2 - y1) * (x - x1) / (x2 - x1);
}

namespace {

std::pair<double, double> speedBracket(double V)
{
    if (V == 0)
        return {0, 0};
    if (V <= 0.1)
        return {0, 0.1};
    if (V <= 0.2)
        return {0.1, 0.2};
    if (V <= 0.5)
        return {0.2, 0.5};
    if (V <= 1)
        return {0.5, 1};
    return {1, 1};
}

// η at temperature T for one speed; `interpolated` tells whether it lies between two rows.
std::optional<double> atTemperature(const std::vector<NyuPoint>& rows, double T, bool& interpolated)
{
    interpolated = false;
    const auto exactly = [&](double t) -> std::optional<double> {
        for (const NyuPoint& p : rows)
            if (p.T == t)
                return p.Nyu;
        return std::nullopt;
    };
    if (T <= 10)
        return exactly(10);
    if (T >= 35)
        return exactly(35);
    interpolated = true;
    const NyuPoint* below = nullptr;
    for (const NyuPoint& p : rows) {
        if (p.T < T) {
            below = &p;
            continue;
        }
        if (!below)
            return std::nullopt;
        return interpolate(T, below->T, below->Nyu, p.T, p.Nyu);
    }
    return std::nullopt;
}

QString speedText(double v)
{
    return numberText(v);
}

}  // namespace

NyuOutcome nyuCoefficient(double V, double T, const NyuRows& rows)
{
    const auto [lo, hi] = speedBracket(V);
    bool interpolated = false;
    const auto etaLo = atTemperature(rows(lo), T, interpolated);
    if (!etaLo)
        return {std::nullopt, speedText(lo)};
    // Between two temperatures the value of the lower speed passes through a "0.00" text.
    const double lowValue = interpolated ? roundTrip(*etaLo, 2) : *etaLo;
    bool ignored = false;
    const auto etaHi = atTemperature(rows(hi), T, ignored);
    if (!etaHi)
        return {std::nullopt, speedText(hi)};
    return {interpolate(V, lo, lowValue, hi, *etaHi), {}};
}

}  // namespace veltron::calc
