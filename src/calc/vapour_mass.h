#pragma once

#include <optional>

namespace veltron::calc {

// Normal conditions to which the vapour-gas phase of a block is reduced: the
// atmospheric pressure as every formula of the engine takes it (a
// single-precision 0.1013 MPa) and 20 °C as an absolute temperature.
inline constexpr double kNormalPressure = static_cast<double>(0.1013f);  // MPa
inline constexpr double kNormalTemperature = 293.15;                    // K
inline constexpr double kCelsiusZero = 273.15;                          // K at 0 °C

// The vapour-gas phase of a block reduced to normal conditions by the ideal
// gas law with absolute temperatures: V0 = V′·(P/P0)·(T0/T) and G = ρ′·V0,
// T = t + 273.15 K.
struct ReducedVapour {
    double V0 = 0;  // m³
    double G = 0;   // kg
};

// Nothing when the temperature (°C) is at or below absolute zero, where the
// reduction has no meaning.
std::optional<ReducedVapour> reduceToNormalConditions(double density, double volume, double pressure,
                                                      double temperature);

}  // namespace veltron::calc
