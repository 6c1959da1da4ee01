#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

#include <QPointer>

class QPushButton;

namespace veltron::screens {

class SettingsPanel;

// The settings screen of the input screen's menu "Настройки": it stores the
// settings in the calculation's tabMain row and sets the run settings.
class frmSetup : public ui::ReturningScreen {
    Q_OBJECT
public:
    // returnTo is shown again when the screen closes.
    frmSetup(AppState& state, QWidget* returnTo, QWidget* parent = nullptr);

    SettingsPanel* panel;
    QPushButton* Command1;
    QPushButton* Command2;

    // "<<Назад с сохранением"; returns whether the settings were stored.
    bool save();

private:
    AppState& state_;
};

}  // namespace veltron::screens
