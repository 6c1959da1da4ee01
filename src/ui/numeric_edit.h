#pragma once

#include <QLineEdit>

namespace veltron::ui {

// The numeric input box of the input screen and the block editor. It filters
// keys as they are typed and checks its text when focus leaves it.
class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    enum Flag {
        Plain = 0,
        Signed = 1,       // '-' is allowed
        Converting = 2,   // a typed '.' becomes ','
        Unchecked = 4,    // any text is accepted on leaving
        EmptyAllowed = 8, // an empty box passes the leave check
        PointAccepted = 16,  // on leaving, every '.' of the text becomes ',' before the check
    };
    Q_DECLARE_FLAGS(Flags, Flag)

    explicit NumericEdit(Flags flags = Converting, QWidget* parent = nullptr);

    Flags flags() const { return flags_; }
    void setFlags(Flags flags) { flags_ = flags; }

    // The leave check on demand: shows the message and keeps focus when the
    // text is not a number. Returns whether the text is valid.
    bool checkValue();

Q_SIGNALS:
    // Emitted after a successful leave check with the number of the box.
    void validLeft(double value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool accepts(QChar c) const;

    Flags flags_;
    bool checking_ = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(NumericEdit::Flags)

// The caption a message names a field by: its accessible name, else the
// text of the label whose buddy it is, else its object name.
QString fieldCaption(const QWidget* field);

// The input-check message of a field whose text is not a number:
// "Проверьте правильность ввода: в поле «CAPTION» не число («TEXT»)."
void showInputError(const QLineEdit* field);

}  // namespace veltron::ui
