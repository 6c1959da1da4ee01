#pragma once

#include "records/app_state.h"
#include "records/calculation_inputs.h"
#include "records/calculations.h"
#include "screens/input_source.h"
#include "ui/screen.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QVBoxLayout;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::screens {

class RunRequest;

// The main input screen of model I: the blocks of the current calculation
// and the general conditions of the spill. Every opening loads it from the
// database; the screens it opens hide it and show it again unchanged. It
// hands over what it holds as one typed value (InputSource).
class frmInput : public ui::Screen, public InputSource {
    Q_OBJECT
public:
    explicit frmInput(AppState& state, QWidget* parent = nullptr);

    // InputSource
    QWidget* inputScreen() override { return this; }
    // Reads the controls back: the general conditions as shown, the blocks
    // as the grids show them, the process-wide run settings.
    records::CalculationInputs inputs() const override;
    bool saveInputs() override { return save(); }
    void focusField(records::ConditionField field) override;
    void setZet(const QString& zet) override;
    void setAirTemperatureAndNyu(const QString& tempv, const QString& nyu) override;

    // Heading
    QLabel* Label7;
    QLabel* Label18;
    QLabel* Label3;
    QLabel* Label11;   // heads the adjacent blocks
    QLabel* Label11b;  // heads the general conditions (the second "Label11" of the form)

    // Block area
    QTableWidget* tabBlok;
    QLabel* Label4;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command7;
    QTableWidget* tabBlok_smeg;
    QLabel* Label13;
    QGroupBox* Frame1;
    QPushButton* Command15;
    QPushButton* Command14;
    QPushButton* Command13;
    QLabel* Label19;

    // Space type and coefficients
    QGroupBox* Frame4;
    QRadioButton* Option3;
    QRadioButton* Option4;
    ui::NumericEdit* txtNyu;
    QPushButton* Command4;
    ui::NumericEdit* Zet;
    QPushButton* Command2;

    // General conditions
    QGroupBox* Frame17;
    QPushButton* Command1;
    QComboBox* Combo4;
    ui::NumericEdit* Koef_teplopr;
    QLabel* Label12;
    ui::NumericEdit* c;
    QLabel* Label8;
    ui::NumericEdit* p;
    QLabel* Label9;
    ui::NumericEdit* t_kontakt;
    QLabel* Label10;
    ui::NumericEdit* S_kontakt;
    QLabel* Label44;
    ui::NumericEdit* S_G;
    QLabel* Label22;
    QCheckBox* Check1;
    ui::NumericEdit* Tempv;
    QLabel* LTempv;  // the air-temperature label; its caption follows the space type
    ui::NumericEdit* Tempp;
    QLabel* LTempp;
    ui::NumericEdit* txtTg;
    QLabel* Label21;
    QGroupBox* Frame6;
    QCheckBox* Check3;
    ui::NumericEdit* txtPn;
    QCheckBox* Check4;
    ui::NumericEdit* txtPn1;
    QCheckBox* Check2;
    QGroupBox* Frame5;
    ui::NumericEdit* txtLnkpr;
    QLabel* Label24;
    ui::NumericEdit* txtUv;
    QLabel* Label20;
    QWidget* Image1;
    QLabel* Label23;
    QPushButton* Command3;

    QAction* mnuReturn;
    QAction* mnuSave;
    QAction* mnuPerem;
    QAction* mnuSaveAs;
    QAction* mnuDelete;
    QAction* mnuVva;
    QAction* mnuPoverhn;
    QAction* mnuSetup;
    QAction* mnuRaschet;
    QAction* mnuReports;
    QAction* mnuExit;

    // Fills both block grids from the stored blocks, enables "Расчет" while
    // there is a main block and shows or hides the liquid-phase notice.
    void fillBlockGrids();
    // Shows a calculation's inputs as opening the screen on it does.
    void showInputs(const records::CalculationInputs& inputs);
    // Refills the surface list, the first surface selected.
    void refillSurfaces();
    // After the surfaces directory: the list refilled; the surface shown
    // (`chosen`, or its new name) stays, with its values read again, while
    // it is still there, else the first one is selected.
    void surfacesChanged(const QString& chosen, const ui::Renames& renames);
    void setLiquidNotice(bool shown);
    // Shows the current calculation's name, as after a rename.
    void showCalculationName();

    // The general conditions as "Сохранить исходные данные" stores them, read
    // from inputs(); nothing, with the message shown and focus in the field,
    // when a field holds no number.
    std::optional<records::Conditions> readConditions();
    // The general conditions shown differ from the stored ones.
    bool hasUnsavedChanges() const override;

    // Menu "База данных".
    bool save();
    void saveAs();
    void rename();
    bool deleteCalculation();

    void back();
    // "Расчет": the run request of model I.
    void requestRun();

    // Block area buttons.
    void newMainBlock();
    void editMainBlock();
    void deleteMainBlock();
    void newAdjacentBlock();
    void editAdjacentBlock();
    void deleteAdjacentBlock();
    // Number of the adjacent block of the selected grid row; 0 when none.
    int selectedAdjacent() const;

    // Dialogs and directories opened from the screen.
    void openNyu();
    void openZ();
    void openSetup();
    void openReports();
    void openSubstances();
    void openSurfaces();

protected:
    void closedByFrame() override { back(); }
    bool saveChanges() override { return save(); }

private:
    // readConditions without a message: the field that holds no number goes to notANumber.
    std::optional<records::Conditions> shownConditions(ui::NumericEdit** notANumber = nullptr) const;

    void buildBlockArea(QWidget* parent, QVBoxLayout* layout);
    void buildConditions(QWidget* parent, QVBoxLayout* layout);
    void buildMenus();
    void open();
    void showBlocks();
    void surfaceSelected();
    void applySpaceType(bool setNyu);
    void applyChecks();
    void setRunEnabled(bool enabled);
    void openBlockEditor(bool adjacent, bool existing, int number);

    AppState& state_;
    QList<records::Block> blocks_;  // as the grids show them
    RunRequest* runRequest_ = nullptr;
    std::optional<records::Conditions> stored_;  // the general conditions as stored, as this screen shows them
    bool loading_ = false;
};

}  // namespace veltron::screens
