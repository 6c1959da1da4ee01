#include "screens/register_model1_screens.h"

#include "screens/frmInput.h"
#include "screens/frmLoad.h"
#include "screens/frmPerechen.h"
#include "ui/navigator.h"

namespace veltron {

void registerModelIScreens(AppState& state)
{
    auto& nav = ui::navigator();
    nav.registerScreen(QStringLiteral("frmLoad"),
                       [&state] { return new screens::frmLoad(state, records::Kind::ModelI); });
    nav.registerScreen(QStringLiteral("frmLoad1"),
                       [&state] { return new screens::frmLoad(state, records::Kind::Complex); });
    nav.registerScreen(QStringLiteral("frmInput"), [&state] { return new screens::frmInput(state); });
    nav.registerScreen(QStringLiteral("frmPerechen"), [&state] { return new screens::frmPerechen(state); });
}

}  // namespace veltron
