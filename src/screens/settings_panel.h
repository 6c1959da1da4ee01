#pragma once

#include "calc/run_inputs.h"
#include "records/app_state.h"

#include <QWidget>

#include <optional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::screens {

// The choices shared by the run settings dialog and the settings screen:
// the formulas for A, for the spill vapour mass and for the saturated vapour
// pressure, and the entered masses G4, G5 and Gs.
class SettingsPanel : public QWidget {
    Q_OBJECT
public:
    // The run settings dialog leaves the entered masses alone when the mass
    // formula changes; the settings screen clears and locks them for formula 16.
    enum class Mode { RunDialog, SettingsScreen };

    explicit SettingsPanel(Mode mode, QWidget* parent = nullptr);

    // Loads the tabMain row of the current calculation; the run settings A and
    // G take its values at once. Returns false (with a message shown) when the
    // row cannot be read.
    bool load(AppState& state, bool hideFrame3);

    // The settings as the screen shows them; nothing when an entered mass is
    // not a number (the input message is shown and focus goes to the field).
    std::optional<calc::RunSettings> read();

    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QGroupBox* Frame3;
    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QRadioButton* Option5;
    QRadioButton* Option6;
    QRadioButton* Option7;
    QLabel* OLE1;
    QLabel* OLE2;
    QLabel* OLE3;
    QLabel* OLE4;
    QLabel* OLE5;
    QLabel* OLE6;
    QLabel* OLE7;
    QLabel* OLE8;
    QLabel* OLE9;
    QLabel* OLE10;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QCheckBox* Check3;
    ui::NumericEdit* G4;
    ui::NumericEdit* G5;
    ui::NumericEdit* Gs;

    // The notice shown when formula 16 is chosen while its coefficient table
    // lacks the rules' rows somewhere; `ranges` names the boiling temperatures
    // where the coefficient is interpolated ("от -80 до 10 °C").
    static QString incompleteTableNotice(const QString& ranges);

    // The stretches of boiling temperature between -80 and 60 °C that the rows
    // (ascending t) leave wider than a band of the rules' table, as notice
    // text; empty when there is none.
    static QString interpolatedRanges(const std::vector<double>& t);

private:
    void warnIfMassTableIncomplete();
    void applyCheck1();
    void applyCheck2();
    void applyCheck3();
    void applyAdiabatic();
    void applyMass();
    void applyPressure();

    Mode mode_;
    const db::Store* store_ = nullptr;
};

// The window title of both settings screens.
QString settingsTitle();

}  // namespace veltron::screens
