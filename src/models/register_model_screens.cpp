#include "models/register_model_screens.h"

#include "models/frmOutput_KR.h"
#include "models/frmSumm.h"
#include "models/frmVzr_KVV.h"
#include "ui/navigator.h"

namespace veltron {

void registerModelScreens(AppState& state)
{
    auto& nav = ui::navigator();
    nav.registerScreen(QStringLiteral("frmVzr_KVV"), [&state] { return new models::frmVzr_KVV(state); });
    nav.registerScreen(QStringLiteral("frmSumm"), [&state] { return new models::frmSumm(state); });
    nav.registerScreen(QStringLiteral("frmOutput_KR"), [&state] { return new models::frmOutput_KR(state); });
}

}  // namespace veltron
