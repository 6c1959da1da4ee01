#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

#include <QPointer>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::screens {

// The evaporation-intensity coefficient calculator for a spill in a room.
class frmNyu : public ui::ReturningScreen {
    Q_OBJECT
public:
    // Receives the temperature and the coefficient texts on "Ввести".
    using Accept = std::function<void(const QString& tempv, const QString& nyu)>;

    // Computes at once with the initial fields, then shows the caller's air
    // temperature tempv in T.
    frmNyu(AppState& state, const QString& tempv, QWidget* returnTo, Accept accept, QWidget* parent = nullptr);

    ui::NumericEdit* V;
    ui::NumericEdit* T;
    QLineEdit* txtNyu;
    QPushButton* Command3;
    QPushButton* Command1;
    QPushButton* Command2;

    // "Рассчитать"; returns whether a value was computed.
    bool calculate();
    void enter();
    // Restores the speed and temperature of the last calculation.
    void cancel() override;

private:
    AppState& state_;
    Accept accept_;
    double savedSpeed_;
    double savedTemperature_;
};

}  // namespace veltron::screens
