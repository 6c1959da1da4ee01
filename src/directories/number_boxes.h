#pragma once

#include <QString>

#include <optional>

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::directories {

// Shows a stored number in its box; an empty field (NULL) shows "0". Such a
// box gives nothing back until the user edits it, so that saving the panel
// keeps the field empty instead of storing a 0 that was never entered.
void showStoredNumber(ui::NumericEdit* box, const std::optional<double>& value);
// Shows the text of a new record's box; it is saved as typed.
void showNewNumber(ui::NumericEdit* box, const QString& text);

// What a box holds for saving: `valid` false when its text is not a number.
// An empty box is nothing where its leave check lets it stay empty.
struct BoxNumber {
    bool valid = true;
    std::optional<double> value;
};
BoxNumber boxNumber(const ui::NumericEdit* box);

// Refuses a box that holds no number: the message names the field by its
// label and says that nothing was saved; the box takes the focus.
void refuseBox(ui::NumericEdit* box, const QString& label, const QString& notSaved);

// Whether the box's number lies within the physical range of its field
// (table, field); refuses it otherwise, naming the field and the range, and
// the box takes the focus. An empty box and a field without a range pass.
bool withinRange(ui::NumericEdit* box, const QString& label, const BoxNumber& number, const QString& table,
                 const QString& field, const QString& notSaved);

}  // namespace veltron::directories
