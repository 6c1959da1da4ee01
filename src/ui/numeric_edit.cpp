#include "ui/numeric_edit.h"

#include "calc/number_text.h"
#include "ui/dialogs.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace veltron::ui {

NumericEdit::NumericEdit(Flags flags, QWidget* parent) : QLineEdit(parent), flags_(flags) {}

void showInputError()
{
    dialogs().inform(QStringLiteral("Ввод данных"), QStringLiteral("Проверте правильность ввода"), Icon::Warning);
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
        showInputError();
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
