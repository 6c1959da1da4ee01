#pragma once

#include "records/app_state.h"

#include <QDialog>

class QMenuBar;
class QPushButton;
class QAction;

namespace veltron::screens {

class SettingsPanel;

// The run settings dialog every run passes through: confirming sets the run
// settings and "settings confirmed" and emits accepted(); nothing is stored.
class frmSetup_rasch : public QDialog {
    Q_OBJECT
public:
    // hideFrame3: both saturated pressures are typed on the input screen.
    frmSetup_rasch(AppState& state, bool hideFrame3, QWidget* parent = nullptr);

    // Whether the settings of the calculation could be read.
    bool loaded() const { return loaded_; }

    SettingsPanel* panel;
    QPushButton* Command1;
    QAction* mnuReturn;

    void confirm();

private:
    AppState& state_;
    bool loaded_ = false;
};

}  // namespace veltron::screens
