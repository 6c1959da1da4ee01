#include "calc/vapour_mass.h"

namespace veltron::calc {

std::optional<ReducedVapour> reduceToNormalConditions(double density, double volume, double pressure,
                                                      double temperature)
{
    const double T = temperature + kCelsiusZero;
    if (!(T > 0))
        return std::nullopt;
    const double ratioT = kNormalTemperature / T;  // exactly 1 at 20 °C
    ReducedVapour r;
    r.V0 = volume * (pressure / kNormalPressure) * ratioT;
    // Multiplied in this order so that a block at 20 °C keeps the mass it
    // always had, to the last digit.
    r.G = density * volume * (pressure / kNormalPressure) * ratioT;
    return r;
}

}  // namespace veltron::calc
