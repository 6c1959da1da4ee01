#pragma once

#include <QLocale>
#include <QString>

#include <optional>

namespace veltron::ui {

// Russian number text: decimal comma, no digit grouping.
const QLocale& russian();

// A number typed the Russian way ("12,5", "-3", "1,5E-3"); nothing for any
// other text, for an empty one and for non-finite values.
std::optional<double> parseNumber(const QString& text);

// A stored number as a field shows it: shortest exact text with a decimal comma.
QString fieldText(double value);

}  // namespace veltron::ui
