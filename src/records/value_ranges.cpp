#include "records/value_ranges.h"

#include "calc/number_text.h"

#include <QStringList>

namespace veltron::records {

namespace {

struct FieldRule {
    const char* table;
    const char* field;
    ValueRange range;
    bool marked;  // a stored value outside the range, or none, is marked where it is listed
};

const ValueRange kPositive{0, false, std::nullopt, false};
const ValueRange kNotNegative{0, true, std::nullopt, false};

// A density of 0 is a substance without a liquid phase, a heat of combustion
// of 0 one that does not burn (its energy is the adiabatic expansion alone).
// The fuel kinds of the rules include z = 0 (liquids below their flash point
// without aerosol), which the z dialog never takes; it is refused in the
// editor but not marked.
const FieldRule kRules[] = {
    {"SubstChar", "Mol_massa", kPositive, true},
    {"SubstChar", "Tepl_paroobr", kPositive, true},
    {"SubstChar", "Teploem_GF", kPositive, true},
    {"SubstChar", "PokAdiab", {1, false, 2, true}, true},
    {"SubstChar", "T_kip", {-273.15, false, std::nullopt, false}, false},
    {"SubstChar", "Tepl_sgorPGF", kNotNegative, false},
    {"SubstChar", "Plotn_GF", kNotNegative, false},
    {"tabPoverhn", "p", kPositive, true},
    {"tabPoverhn", "lyambda", kPositive, true},
    {"tabPoverhn", "c", kPositive, true},
    {"tabGoryuch", "z", {0, false, 1, true}, false},
    {"Explosives", "Energy", kPositive, true},
};

const FieldRule* ruleOf(const QString& table, const QString& field)
{
    for (const FieldRule& r : kRules)
        if (table == QLatin1String(r.table) && field == QLatin1String(r.field))
            return &r;
    return nullptr;
}

}  // namespace

bool ValueRange::contains(double value) const
{
    if (low && !(lowIncluded ? value >= *low : value > *low))
        return false;
    if (high && !(highIncluded ? value <= *high : value < *high))
        return false;
    return true;
}

QString ValueRange::text() const
{
    QStringList parts;
    if (low)
        parts << (lowIncluded ? QStringLiteral("не меньше ") : QStringLiteral("больше ")) + calc::numberText(*low);
    if (high)
        parts << (highIncluded ? QStringLiteral("не больше ") : QStringLiteral("меньше ")) + calc::numberText(*high);
    return parts.join(QStringLiteral(" и "));
}

std::optional<ValueRange> fieldRange(const QString& table, const QString& field)
{
    const FieldRule* rule = ruleOf(table, field);
    return rule ? std::optional<ValueRange>(rule->range) : std::nullopt;
}

bool unusable(const QString& table, const QString& field, const std::optional<double>& value)
{
    const FieldRule* rule = ruleOf(table, field);
    return rule && rule->marked && (!value || !rule->range.contains(*value));
}

QString outOfRangeMessage(const QString& label, double value, const ValueRange& range, const QString& notSaved)
{
    return QStringLiteral("Значение поля «%1» (%2) вне допустимых пределов: оно должно быть %3. %4")
        .arg(label, calc::numberText(value), range.text(), notSaved);
}

}  // namespace veltron::records
