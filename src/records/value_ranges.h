#pragma once

#include <QString>

#include <optional>

namespace veltron::records {

// The physical range of a number of a directory: each bound open, closed or
// absent. The editors refuse a value outside it; a stored one outside it is
// marked as data the formulas cannot use.
struct ValueRange {
    std::optional<double> low;
    bool lowIncluded = false;
    std::optional<double> high;
    bool highIncluded = false;

    bool contains(double value) const;
    // As the user reads it: "больше 1 и не больше 2".
    QString text() const;
};

// The range of a field of a directory table (SubstChar, tabPoverhn,
// tabGoryuch, Explosives); nothing for a field without one.
std::optional<ValueRange> fieldRange(const QString& table, const QString& field);

// Whether a stored value of the field is marked as no value the formulas can
// use: empty, or outside the field's range (0 where it must be positive). Only
// the fields whose gaps matter to a run are marked (the substance's molar
// mass, heat of vaporisation, heat capacity and adiabatic index, the
// surface's data and a compound's energy).
bool unusable(const QString& table, const QString& field, const std::optional<double>& value);

// The refusal of a value outside its range, naming the field by its label,
// the value and the range, ended with what was not saved.
QString outOfRangeMessage(const QString& label, double value, const ValueRange& range, const QString& notSaved);

}  // namespace veltron::records
