#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace veltron {

// The choice of calculation model.
class frmLoad_Rasch : public ui::Screen {
    Q_OBJECT
public:
    explicit frmLoad_Rasch(AppState& state, QWidget* parent = nullptr);

    QLabel* Label1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QPushButton* Command1;

    void load();

protected:
    void closedByFrame() override;

private:
    AppState& state_;
};

}  // namespace veltron
