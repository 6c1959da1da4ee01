#include "screens/input_dialogs.h"

#include "screens/frmDolya_z.h"
#include "screens/frmNyu.h"
#include "ui/numeric_edit.h"

#include <QPointer>
#include <QWidget>

namespace veltron::screens {

void openZDialog(AppState& state, InputSource& input)
{
    const records::ConditionTexts held = input.inputs().conditions;
    QWidget* screen = input.inputScreen();
    QPointer<QWidget> alive(screen);
    auto* dlg = new frmDolya_z(state, held.Option3, screen, [alive, &input](const QString& z) {
        if (alive)
            input.setZet(z);
    });
    screen->hide();
    dlg->show();
    // After its activation the dialog shows the z of the calculation.
    dlg->Zet->setText(held.Zet);
}

void openNyuCalculator(AppState& state, InputSource& input)
{
    QWidget* screen = input.inputScreen();
    QPointer<QWidget> alive(screen);
    screen->hide();
    auto* calc = new frmNyu(state, input.inputs().conditions.Tempv, screen,
                            [alive, &input](const QString& tempv, const QString& nyu) {
                                if (alive)
                                    input.setAirTemperatureAndNyu(tempv, nyu);
                            });
    calc->show();
}

}  // namespace veltron::screens
