#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

#include <QPointer>

#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::screens {

// The z dialog: the fraction of the reduced mass of vapour-gas substances that
// takes part in the explosion, 0,1 outdoors or the value of a fuel kind for
// closed volumes.
class frmDolya_z : public ui::ReturningScreen {
    Q_OBJECT
public:
    using Accept = std::function<void(const QString& zet)>;

    // outdoors: the caller's space type is "вне помещения". accept receives the
    // chosen z as text; returnTo is shown again when the dialog closes.
    frmDolya_z(AppState& state, bool outdoors, QWidget* returnTo, Accept accept, QWidget* parent = nullptr);

    QLabel* lbl1;
    QLabel* Label1;
    ui::NumericEdit* Zet;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QComboBox* Combo1;
    QPushButton* Command6;
    QGroupBox* Frame2;
    QTableWidget* Tabl_Name;
    QLabel* Label2;
    QGroupBox* Frame4;
    QLabel* Label5;

    // "<<Назад с сохранением": returns whether z was handed back.
    bool saveAndReturn();
    // Runs each time the dialog is shown: fills the fuel kinds, follows the space type.
    void activate();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void applySpaceRule();
    void fuelSelected();
    void openFuelDirectory();

    AppState& state_;
    bool outdoors_;
    Accept accept_;
};

}  // namespace veltron::screens
