#pragma once

#include "calc/tnt_equivalent.h"
#include "records/app_state.h"
#include "ui/screen.h"

class QAction;
class QLabel;

namespace veltron::screens {
class ZoneResults;
}

namespace veltron::models {

// Model II, the results screen of one run: the inputs, the TNT equivalent,
// the zones with the overpressure calculator, and the report.
class frmOutput_KVV : public ui::ReturningScreen {
    Q_OBJECT
public:
    // inputScreen is shown again by "<<Назад".
    frmOutput_KVV(AppState& state, QWidget* inputScreen, const calc::UnstableRun& run, QWidget* parent = nullptr);

    const calc::UnstableRun& run() const { return run_; }

    QLabel* Name_blok;
    QLabel* lKvv;
    QLabel* lMassa;
    QLabel* lqk;
    QLabel* LWt;
    screens::ZoneResults* zones;  // tabZone and the overpressure calculator

    QAction* mnuReturn;
    QAction* mnuWord;
    QAction* mnuFolder;
    QAction* mnuExit;

    // "Вывод результатов в Word"; returns the file written, or an empty text.
    QString report();

protected:
    // Each activation runs the overpressure calculator.
    void showEvent(QShowEvent* event) override;

private:
    AppState& state_;
    calc::UnstableRun run_;
};

}  // namespace veltron::models
