#pragma once

#include "records/app_state.h"
#include "ui/screen.h"

#include <QPointer>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QRadioButton;

namespace veltron::ui {
class NumericEdit;
}

namespace veltron::screens {

// The rate of heat inflow to the liquid phase of an adjacent block from
// external heat carriers: typed in, or the product of the factors of one of
// the formulas (10.1) … (10.3).
class frmPt : public ui::ReturningScreen {
    Q_OBJECT
public:
    // Receives the rate and the heat-inflow state it came from on "<<Назад с сохранением".
    using Accept = std::function<void(const QString& rate, const HeatInflow& state)>;

    // Opens on the heat-inflow state of the block; rate is the block editor's
    // current text of the heat-inflow field.
    frmPt(const HeatInflow& state, const QString& rate, QWidget* returnTo, Accept accept, QWidget* parent = nullptr);

    QRadioButton* Option1;
    QRadioButton* Option2;
    QRadioButton* Option3;
    QRadioButton* Option4;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label10;
    ui::NumericEdit* per1;
    ui::NumericEdit* per2;
    ui::NumericEdit* per3;
    ui::NumericEdit* txtPt;
    QLabel *fK, *fF, *fW, *fc, *ft, *ftet;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QPushButton* Command1;
    QPushButton* Command2;

    // "Расчет": the rate of the chosen formula into txtPt; false when a factor is not a number.
    bool calculate();
    // "<<Назад с сохранением": the rate is always recomputed from the factors on the screen.
    bool saveAndReturn();

private:
    void applyOptionRule();
    int formula() const;
    std::optional<double> factor(ui::NumericEdit* field) const;

    Accept accept_;
};

}  // namespace veltron::screens
