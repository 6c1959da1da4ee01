#include "calc/tnt_equivalent.h"

#include "calc/number_text.h"

#include <cmath>
#include <optional>

namespace veltron::calc {

namespace {

constexpr double kTntEnergy = 4520;  // kJ/kg

// A quantity below zero has no TNT equivalent; the screens' key filters keep
// the sign out, the command line does not.
std::optional<Stop> negative(double value, const QString& what)
{
    if (value >= 0)
        return std::nullopt;
    return Stop{text::kAttention,
                QStringLiteral("Расчет невозможен: %1 не может быть меньше нуля (%2).").arg(what, numberText(value))};
}

ZoneOutcome zonesOf(double Wt, RadiusFormula formula)
{
    ZoneRun run;
    run.Wt = Wt;
    run.formula = formula;
    run.R0 = reducedRadius(Wt, formula);
    run.Rzone = zoneRadii(run.R0);
    bool finite = std::isfinite(run.Wt) && std::isfinite(run.R0);
    for (double r : run.Rzone)
        finite = finite && std::isfinite(r);
    if (!finite)
        return Stop{text::kAttention,
                    QStringLiteral("Расчет невозможен: тротиловый эквивалент слишком велик для вычисления зон "
                                   "разрушения.")};
    return run;
}

}  // namespace

ZoneOutcome runUnstable(double mass, double energy)
{
    if (auto stop = negative(mass, QStringLiteral("масса соединения")))
        return *stop;
    if (auto stop = negative(energy, QStringLiteral("удельная энергия взрыва")))
        return *stop;
    return zonesOf(mass * energy / kTntEnergy, formulaForMass(mass));
}

ZoneOutcome runSummary(double wt0, double wt1, RadiusFormula formula)
{
    if (auto stop = negative(wt0, QStringLiteral("тротиловый эквивалент парогазовой среды")))
        return *stop;
    if (auto stop = negative(wt1, QStringLiteral("тротиловый эквивалент нестабильных соединений")))
        return *stop;
    return zonesOf(wt0 + wt1, formula);
}

ZoneOutcome runUnstable(const UnstableCase& c)
{
    return runUnstable(c.mass, c.energy);
}

ZoneOutcome runSummary(const SummaryCase& c)
{
    return runSummary(c.wt0, c.wt1, c.formula);
}

}  // namespace veltron::calc
