#include "screens/stop_message.h"

#include "ui/dialogs.h"

namespace veltron::screens {

namespace {

ui::Icon iconOf(calc::StopIcon icon)
{
    switch (icon) {
    case calc::StopIcon::None:
        return ui::Icon::None;
    case calc::StopIcon::Information:
        return ui::Icon::Information;
    case calc::StopIcon::Warning:
        return ui::Icon::Warning;
    case calc::StopIcon::Error:
        break;
    }
    return ui::Icon::Critical;
}

}  // namespace

void showStop(const calc::Stop& stop)
{
    ui::dialogs().inform(stop.title, stop.message, iconOf(stop.icon));
}

}  // namespace veltron::screens
