#pragma once

#include "records/app_state.h"
#include "screens/input_source.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace veltron::screens {

// The run request of model I from the input screen's "Расчет": the checks of
// z and of the mirror area, the save question and the run settings dialog,
// the confirmation, the run, and the results screen in place of the input
// screen. It reads the input screen as one typed value and saves through it.
class RunRequest : public QObject {
    Q_OBJECT
public:
    // Lives as long as the input's screen, whose child it becomes.
    RunRequest(AppState& state, InputSource& input);

    void request();

    // The settings dialog the request is waiting for, if any.
    QWidget* settingsDialog() const { return settingsDialog_; }

Q_SIGNALS:
    // A results screen was shown.
    void resultsShown(QWidget* frmOutput);

private:
    void openSettings(bool bothPressuresTyped);
    void runConfirmed();

    AppState& state_;
    InputSource& input_;
    QPointer<QWidget> settingsDialog_;
};

}  // namespace veltron::screens
