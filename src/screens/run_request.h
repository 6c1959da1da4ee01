#pragma once

#include "calc/run_inputs.h"
#include "records/app_state.h"
#include "report/results_view.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QWidget;

namespace veltron::screens {

// The run request of model I from the input screen's "Расчет": the checks of
// z and of the mirror area, the save question and the run settings dialog,
// the confirmation, the run, and the results screen in place of the input
// screen.
//
// It reads the input screen through its controls, found by their names
// (Zet, Check1 … Check4, S_G, t_kontakt, Combo4, Option3, …), and saves the
// inputs by triggering its action mnuSave.
class RunRequest : public QObject {
    Q_OBJECT
public:
    RunRequest(AppState& state, QWidget* inputScreen);

    void request();

    // The settings dialog the request is waiting for, if any.
    QWidget* settingsDialog() const { return settingsDialog_; }

Q_SIGNALS:
    // A results screen was shown.
    void resultsShown(QWidget* frmOutput);

private:
    std::optional<calc::RunInputs> collectInputs();
    report::InputTexts inputTexts() const;
    QString text(const char* control) const;
    bool checked(const char* control) const;
    void openSettings();
    void runConfirmed();

    AppState& state_;
    QPointer<QWidget> input_;
    QPointer<QWidget> settingsDialog_;
};

}  // namespace veltron::screens
