#include "ui/wrap_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace veltron::ui {

namespace {
constexpr int kPadX = 8;
constexpr int kPadY = 5;
constexpr int kPreferredWidth = 260;
}  // namespace

WrapButton::WrapButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    QSizePolicy p(QSizePolicy::Preferred, QSizePolicy::Preferred);
    p.setHeightForWidth(true);
    setSizePolicy(p);
}

QRect WrapButton::textRect(int width) const
{
    return fontMetrics().boundingRect(QRect(0, 0, std::max(40, width - 2 * kPadX), 10000),
                                      Qt::TextWordWrap | Qt::AlignCenter, text());
}

int WrapButton::heightForWidth(int width) const
{
    return textRect(width).height() + 2 * kPadY;
}

QSize WrapButton::sizeHint() const
{
    const int oneLine = fontMetrics().horizontalAdvance(text()) + 2 * kPadX + 2;
    const int w = std::min(oneLine, kPreferredWidth);
    return {w, heightForWidth(w)};
}

QSize WrapButton::minimumSizeHint() const
{
    int longestWord = 0;
    for (const QString& word : text().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        longestWord = std::max(longestWord, fontMetrics().horizontalAdvance(word));
    const int w = longestWord + 2 * kPadX + 2;
    return {w, heightForWidth(w)};
}

void WrapButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = rect().adjusted(kPadX, kPadY, -kPadX, -kPadY);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), text(),
                         QPalette::ButtonText);
}

}  // namespace veltron::ui
