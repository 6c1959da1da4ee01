#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace veltron::calc {

// One row of tabNyu for a given air speed.
struct NyuPoint {
    double T = 0;
    double Nyu = 0;
};

// The rows of tabNyu of one air speed in ascending T.
using NyuRows = std::function<std::vector<NyuPoint>(double speed)>;

struct NyuOutcome {
    std::optional<double> Nyu;  // nothing when the table lacks a row
    QString missing;            // what was missing, for the message
};

// The evaporation-intensity coefficient for a spill in a room: the speed
// bracket of V, the temperature interpolation at T for both speeds of the
// bracket, then the interpolation in speed.
NyuOutcome nyuCoefficient(double V, double T, const NyuRows& rows);

// The two-point rule: y1 when x2 = x1, else the straight line through both points.
double interpolate(double x, double x1, double y1, double x2, double y2);

}  // namespace veltron::calc
