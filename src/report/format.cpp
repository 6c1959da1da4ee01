#include "report/format.h"

#include "calc/number_text.h"

#include <QLocale>

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace veltron::report {

namespace {

QChar decimalComma()
{
    static const QChar comma = [] {
        const QString point = QLocale(QLocale::Russian).decimalPoint();
        return point.isEmpty() ? QLatin1Char(',') : point.at(0);
    }();
    return comma;
}

// Non-finite values never come from a run; they are written so that nobody
// takes them for a number.
QString notANumber() { return QStringLiteral("—"); }

}  // namespace

QString formatFixed(double x, int decimals)
{
    if (!std::isfinite(x))
        return notANumber();
    const calc::FixedDigits d = calc::roundFixed(x, decimals);
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    out += QString::fromStdString(d.integer);
    if (decimals > 0)
        out += decimalComma() + QString::fromStdString(d.fraction);
    return out;
}

QString formatScientific(double x, int decimals)
{
    if (!std::isfinite(x))
        return notANumber();
    const calc::ScientificDigits d = calc::roundScientific(x, decimals);
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    out += QLatin1Char(d.mantissa[0]);
    if (decimals > 0)
        out += decimalComma() + QString::fromStdString(d.mantissa.substr(1));
    out += d.exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+");
    out += QStringLiteral("%1").arg(std::abs(d.exponent), 2, 10, QLatin1Char('0'));
    return out;
}

QString formatPattern(double x, const QString& pattern)
{
    static const QString fixed[] = {QStringLiteral("0"), QStringLiteral("0.0"),
                                    QStringLiteral("0.00"), QStringLiteral("0.000")};
    for (int decimals = 0; decimals < 4; ++decimals)
        if (pattern == fixed[decimals])
            return formatFixed(x, decimals);
    if (pattern == QLatin1String("0.00E+00"))
        return formatScientific(x, 2);
    throw std::invalid_argument("unknown number pattern: " + pattern.toStdString());
}

QString FormatResult(double x)
{
    if (x == 0)
        return QStringLiteral("0");
    if (!std::isfinite(x))
        return notANumber();
    double a = std::fabs(x);
    std::int16_t i = 0;  // a finite double needs at most 324 steps
    while (a < 5) {
        a = a * 10;
        ++i;
    }
    if (i <= 1)
        return formatFixed(x, 3);
    const double q = calc::roundHalfEven(a * 100) / 1000;
    QString out = formatFixed(q, 2) + (i <= 10 ? QStringLiteral("E-0") : QStringLiteral("E-")) +
                  QString::number(i - 1);
    if (x < 0)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString formatTwoOrZero(double x)
{
    return x == 0 ? QStringLiteral("0") : formatFixed(x, 2);
}

QString FormatDetail(double x)
{
    if (x == 0)
        return QStringLiteral("0");
    if (x >= 0.1)
        return formatFixed(x, 2);
    return formatScientific(x, 2);
}

}  // namespace veltron::report
