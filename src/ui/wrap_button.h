#pragma once

#include <QPushButton>

namespace veltron::ui {

// A push button whose long caption wraps onto several lines instead of
// stretching the button; text() still returns the whole caption.
class WrapButton : public QPushButton {
    Q_OBJECT
public:
    explicit WrapButton(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect(int width) const;
};

}  // namespace veltron::ui
