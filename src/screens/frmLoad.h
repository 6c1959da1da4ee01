#pragma once

#include "records/app_state.h"
#include "records/calculations.h"
#include "ui/screen.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace veltron::screens {

// The list of stored calculations: a new one, the one opened last, or one
// chosen from the list. For model I it leads to the input screen ("frmLoad");
// for the complex calculations of model IV ("frmLoad1", without the option of
// the last calculation) to the complex calculation screen.
class frmLoad : public ui::Screen {
    Q_OBJECT
public:
    frmLoad(AppState& state, records::Kind kind, QWidget* parent = nullptr);

    QGroupBox* Frame1;
    QRadioButton* Option1;
    QRadioButton* Option2;  // nullptr on the list of complex calculations
    QRadioButton* Option3;
    QLineEdit* txtRasch;
    QComboBox* Combo1;
    QPushButton* Command1;

    // "Загрузить"; returns whether the next screen was opened.
    bool load();
    void back();

    // The menu «Расчеты» of the list of model I: the register of blocks, and
    // the calculation chosen written to a file or calculations read from one.
    void exportChosen();
    void importFile();

protected:
    void closedByFrame() override { back(); }

private:
    void applyOption();
    bool chooseCalculation();
    void addCalculationsMenu();
    // Fills the list anew and selects the calculation `id`.
    void refillList(int id);

    AppState& state_;
    records::Kind kind_;
};

}  // namespace veltron::screens
