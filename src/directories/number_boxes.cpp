#include "directories/number_boxes.h"

#include "calc/number_text.h"
#include "records/value_ranges.h"
#include "ui/dialogs.h"
#include "ui/numeric_edit.h"

namespace veltron::directories {

namespace {

const char* const kStoredEmpty = "storedEmpty";

}  // namespace

void showStoredNumber(ui::NumericEdit* box, const std::optional<double>& value)
{
    box->setText(value ? calc::numberText(*value) : QStringLiteral("0"));
    box->setProperty(kStoredEmpty, !value.has_value());
}

void showNewNumber(ui::NumericEdit* box, const QString& text)
{
    box->setText(text);
    box->setProperty(kStoredEmpty, false);
}

BoxNumber boxNumber(const ui::NumericEdit* box)
{
    if (box->property(kStoredEmpty).toBool() && !box->isModified())
        return {};
    const QString text = box->text().trimmed();
    const auto flags = box->flags();
    if (text.isEmpty())
        return {bool(flags & (ui::NumericEdit::EmptyAllowed | ui::NumericEdit::Unchecked)), std::nullopt};
    // The leave check's rule: a point is a stray character in a checked box.
    const bool point = flags & (ui::NumericEdit::Unchecked | ui::NumericEdit::PointAccepted);
    const auto value = calc::parseNumber(text, point ? calc::DecimalPoint::Accepted : calc::DecimalPoint::Refused);
    return {value.has_value(), value};
}

void refuseBox(ui::NumericEdit* box, const QString& label, const QString& notSaved)
{
    ui::dialogs().inform(QStringLiteral("Ввод данных"),
                         QStringLiteral("Проверте правильность ввода: в поле «%1» не число («%2»). %3")
                             .arg(label, box->text(), notSaved),
                         ui::Icon::Warning);
    if (box->isEnabled())
        box->setFocus(Qt::OtherFocusReason);
}

bool withinRange(ui::NumericEdit* box, const QString& label, const BoxNumber& number, const QString& table,
                 const QString& field, const QString& notSaved)
{
    const auto range = records::fieldRange(table, field);
    if (!number.value || !range || range->contains(*number.value))
        return true;
    ui::dialogs().inform(QStringLiteral("Ввод данных"),
                         records::outOfRangeMessage(label, *number.value, *range, notSaved), ui::Icon::Warning);
    if (box->isEnabled())
        box->setFocus(Qt::OtherFocusReason);
    return false;
}

}  // namespace veltron::directories
