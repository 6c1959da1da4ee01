#pragma once

#include <QLocale>
#include <QString>

#include <optional>
#include <string>

namespace veltron::calc {

// A double rounded for display: the digits of |x| with `decimals` places after
// the point. Rounding is half away from zero and works on the number's
// 15-significant-digit decimal form, so 1.005 written with two decimals is
// 1.01, as a reader of the decimal value expects.
struct FixedDigits {
    bool negative = false;  // false whenever every digit is 0
    std::string integer;    // at least one digit
    std::string fraction;   // exactly `decimals` digits
};
FixedDigits roundFixed(double x, int decimals);

// A double rounded to 1 + decimals significant digits in scientific form.
struct ScientificDigits {
    bool negative = false;
    std::string mantissa;  // 1 + decimals digits, the first before the point
    int exponent = 0;
};
ScientificDigits roundScientific(double x, int decimals);

// The number written with `decimals` places and read back, as a value that
// passes through a "0.00" text field.
double roundTrip(double x, int decimals);

// Rounding to a whole number with halves to the even integer.
double roundHalfEven(double x);

// The one reader of numbers that users type or the program reads back from
// its own texts: a decimal comma or point, an exponent with "E" or "e".
// Empty, partial, non-numeric and non-finite texts give nothing. The leave
// check of an input box takes the Russian form only, the comma: a point
// there is refused like any other stray character.
enum class DecimalPoint { Accepted, Refused };
std::optional<double> parseNumber(const QString& text, DecimalPoint point = DecimalPoint::Accepted);
// Whether parseNumber refuses the text only because the number it writes is
// too large or too small for a double (1e400, 1e-400).
bool numberOutOfRange(const QString& text);

// The one writer of a number as a field or message shows it: decimal comma,
// no grouping, the shortest digits that read back to the same value, the
// exponent with "E" ("1,5E-07"); 0 is "0", a non-finite value "0".
QString numberText(double x);

// The Russian locale with the decimal comma and no digit grouping, for the
// few texts written with a fixed number of places or a date.
const QLocale& russianLocale();

}  // namespace veltron::calc
