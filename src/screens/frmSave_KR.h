#pragma once

#include "records/app_state.h"
#include "report/results_view.h"
#include "ui/screen.h"

#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace veltron::screens {

// Stores one block's results of model I as a named entry of the pool of the
// complex calculation (tabKR).
class frmSave_KR : public ui::ReturningScreen {
    Q_OBJECT
public:
    // Opens on the energies and the TNT equivalent of a run's view and on a
    // proposed name; returnTo (the results screen) is shown again when the
    // dialog closes.
    frmSave_KR(AppState& state, const report::ResultsView& view, const QString& name, QWidget* returnTo,
               QWidget* parent = nullptr);

    QLineEdit* txtName;
    QLabel* lblShortened;  // says that the proposed name was cut to 25 characters; hidden otherwise
    QLineEdit *E11, *E12, *E21, *E22, *E23, *E24, *Wt;
    QPushButton* Command1;
    QPushButton* Command2;

    // "Сохранить"; returns whether the entry was stored.
    bool save();

private:
    AppState& state_;
};

}  // namespace veltron::screens
