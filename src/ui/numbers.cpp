#include "ui/numbers.h"

#include <cmath>

namespace veltron::ui {

const QLocale& russian()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::Russian, QLocale::Russia);
        l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
        return l;
    }();
    return locale;
}

std::optional<double> parseNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.contains(QLatin1Char('.')))
        return std::nullopt;
    bool ok = false;
    const double v = russian().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString fieldText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    return russian().toString(value, 'g', QLocale::FloatingPointShortest).toUpper();
}

}  // namespace veltron::ui
