#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::models {

// Model II, the input screen: a mass of a solid or liquid chemically unstable
// compound with its specific explosion energy.
class frmVzr_KVV : public ui::Screen {
    Q_OBJECT
public:
    explicit frmVzr_KVV(AppState& state, QWidget* parent = nullptr);

    QLineEdit* Name_blok;
    QComboBox* Combo1;
    QPushButton* Command3;
    ui::NumericEdit* Energy;
    ui::NumericEdit* Massa_G;
    QPushButton* Command1;
    // Why "Расчет" is not offered; hidden while the list has compounds.
    QLabel* lblNoCompounds;

    QAction* mnuRaschet;
    QAction* mnuReturn;
    QAction* mnuReports;
    QAction* mnuExit;

    // Fills the list from the compounds directory and takes the first one.
    void loadCompounds();
    // Puts the energy of the chosen compound into Energy.
    void compoundChosen();
    // The energy of a compound as the directory holds it; nothing when it is not there.
    std::optional<QString> directoryEnergy(const QString& compound) const;
    // "Расчет": on success this screen hides behind the results screen.
    bool run();
    // Command3: the compounds directory; its "<<Назад" brings this screen
    // back with the list reloaded and the compound it showed still chosen.
    void openCompoundsDirectory();
    // "<<Назад": the model choice.
    void back();

protected:
    void closedByFrame() override { back(); }

private:
    AppState& state_;
};

}  // namespace veltron::models
