#include "calc/complex_calculation.h"

#include "calc/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace veltron::calc {

namespace {

// The sum of the TNT equivalents is kept as the text of a field between
// additions: 15 significant digits.
double asFieldText(double x)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.15g", x);
    return std::strtod(text, nullptr);
}

Stop impossible(const QString& why)
{
    return Stop{text::kAttention, QStringLiteral("Расчет невозможен: %1").arg(why)};
}

}  // namespace

ComplexOutcome runComplex(const QList<BlockEnergies>& rows)
{
    ComplexResult r;
    double wtSum = 0;
    for (const BlockEnergies& row : rows) {
        r.E = r.E + row.E11 + row.E12 + row.E21 + row.E22 + row.E23 + row.E24;
        wtSum = asFieldText(row.Wt + wtSum);
    }
    if (!std::isfinite(r.E) || !std::isfinite(wtSum))
        return impossible(QStringLiteral("сумма энергий или тротиловых эквивалентов блоков слишком велика."));
    if (r.E < 0)
        return impossible(QStringLiteral("полная энергия E отрицательна (%1 кДж). Проверьте энергии блоков расчета.")
                              .arg(numberText(r.E)));
    r.m = r.E / 46000;
    r.Zn_kategor = QString::fromLatin1(categoryForMass(r.m));
    r.Q = std::pow(r.E, 1.0 / 3) / 16.534;
    r.Wt = roundTrip(wtSum, 1);
    if (r.Wt < 0)
        return impossible(
            QStringLiteral("тротиловый эквивалент Wт отрицателен (%1 кг). Проверьте тротиловые эквиваленты блоков "
                           "расчета.")
                .arg(numberText(r.Wt)));
    r.formula = formulaForMass(r.m);
    r.R0 = reducedRadius(r.Wt, r.formula);
    r.Rzone = zoneRadii(r.R0);
    return r;
}

}  // namespace veltron::calc
