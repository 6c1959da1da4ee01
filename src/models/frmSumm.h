#pragma once

#include "calc/tnt_equivalent.h"
#include "records/app_state.h"
#include "ui/screen.h"

#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace veltron::screens {
class ZoneResults;
}
namespace veltron::ui {
class NumericEdit;
}

namespace veltron::models {

// Model III: the TNT equivalents of the vapour-gas medium and of the
// unstable compounds summed into one charge, its zones and its report.
class frmSumm : public ui::Screen {
    Q_OBJECT
public:
    explicit frmSumm(AppState& state, QWidget* parent = nullptr);

    QLineEdit* txtName;  // what the user calls the calculation, for the report; may stay empty
    ui::NumericEdit* txtWt0;
    ui::NumericEdit* txtWt1;
    QGroupBox* Frame1;
    QRadioButton* Option1;  // formula 22.1
    QRadioButton* Option2;  // formula 22.2
    QLabel* OLE1;
    QLabel* OLE2;
    QPushButton* Command1;
    QLineEdit* txtWt;  // the sum of the last run
    QLineEdit* txtR0;  // its reduced radius
    screens::ZoneResults* zones;  // tabZone and the overpressure calculator

    QAction* mnuReturn;
    QAction* mnuMWord;
    QAction* mnuFolder;
    QAction* mnuExit;

    // "Расчет"; false when refused.
    bool run();
    // "Вывод результатов в Word"; the file written, or an empty text.
    QString report();
    // The last run on this screen.
    const std::optional<calc::SummaryRun>& lastRun() const { return run_; }
    void back();

protected:
    void closedByFrame() override { back(); }

private:
    AppState& state_;
    std::optional<calc::SummaryRun> run_;
};

}  // namespace veltron::models
