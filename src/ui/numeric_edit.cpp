#include "ui/numeric_edit.h"

#include "calc/number_text.h"
#include "ui/dialogs.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>

namespace veltron::ui {

NumericEdit::NumericEdit(Flags flags, QWidget* parent) : QLineEdit(parent), flags_(flags) {}

namespace {

// The nearest label to the left of the field in the grid that holds it.
const QLabel* labelBeside(const QWidget* field)
{
    const QWidget* parent = field->parentWidget();
    if (!parent)
        return nullptr;
    for (const QGridLayout* grid : parent->findChildren<QGridLayout*>()) {
        const int index = grid->indexOf(field);
        if (index < 0)
            continue;
        int row = 0, column = 0, rows = 0, columns = 0;
        grid->getItemPosition(index, &row, &column, &rows, &columns);
        for (int c = column - 1; c >= 0; --c)
            if (const QLayoutItem* item = grid->itemAtPosition(row, c))
                if (const auto* label = qobject_cast<const QLabel*>(item->widget()))
                    return label;
    }
    return nullptr;
}

}  // namespace

QString fieldCaption(const QWidget* field)
{
    if (!field->accessibleName().isEmpty())
        return field->accessibleName();
    for (const QLabel* label : field->window()->findChildren<QLabel*>())
        if (label->buddy() == field)
            return label->text().simplified();
    if (const QLabel* label = labelBeside(field))
        return label->text().simplified();
    return field->objectName();
}

void showInputError(const QLineEdit* field)
{
    dialogs().inform(QStringLiteral("Ввод данных"),
                     QStringLiteral("Проверьте правильность ввода: в поле «%1» не число («%2»).")
                         .arg(fieldCaption(field), field->text()),
                     Icon::Warning);
}

bool NumericEdit::accepts(QChar c) const
{
    if (c.isDigit() && c.unicode() < 128)
        return true;
    if (c == QLatin1Char('-'))
        return flags_ & Signed;
    if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
        const bool comma = c == QLatin1Char(',') || (flags_ & Converting);
        return !(comma && text().isEmpty());
    }
    return false;
}

void NumericEdit::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (typed.size() != 1 || shortcut || !typed[0].isPrint() || (flags_ & Unchecked)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QChar c = typed[0];
    if (!accepts(c)) {
        dialogs().beep();
        event->accept();
        return;
    }
    if (c == QLatin1Char('.') && (flags_ & Converting)) {
        insert(QStringLiteral(","));
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool NumericEdit::checkValue()
{
    if (flags_ & Unchecked)
        return true;
    if ((flags_ & EmptyAllowed) && text().isEmpty())
        return true;
    if ((flags_ & PointAccepted) && text().contains(QLatin1Char('.'))) {
        const bool edited = isModified();
        setText(QString(text()).replace(QLatin1Char('.'), QLatin1Char(',')));
        setModified(edited);
    }
    const auto value = calc::parseNumber(text(), calc::DecimalPoint::Refused);
    if (!value) {
        checking_ = true;
        showInputError(this);
        setFocus(Qt::OtherFocusReason);
        checking_ = false;
        return false;
    }
    Q_EMIT validLeft(*value);
    return true;
}

void NumericEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (checking_ || isReadOnly() || !isEnabled() || event->reason() == Qt::PopupFocusReason
        || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    checkValue();
}

}  // namespace veltron::ui
