#pragma once

#include <QString>

namespace veltron::report {

// Writes x by one of the numeric patterns of the screens and reports:
// "0", "0.0", "0.00", "0.000" (fixed decimals) or "0.00E+00" (scientific,
// exponent sign always, at least two exponent digits). Decimal comma, no digit
// grouping, "-" for negative numbers; a value that rounds to zero has no sign.
// Throws std::invalid_argument for any other pattern.
QString formatPattern(double x, const QString& pattern);

QString formatFixed(double x, int decimals);
QString formatScientific(double x, int decimals);

// Result values of screens and reports: 0 as "0", |x| ≥ 0.5 with three
// decimals, smaller values as a mantissa 0.50 … 5.00 with an "E-0"/"E-" exponent.
QString FormatResult(double x);

// Report values that show 0 as "0" and every other value with "0.00".
QString formatTwoOrZero(double x);

// Per-block values of the detail grids: 0 as "0", x ≥ 0.1 with "0.00", the
// rest (small and negative values) with "0.00E+00".
QString FormatDetail(double x);

}  // namespace veltron::report
