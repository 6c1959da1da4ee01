#include "directories/register_directory_screens.h"

#include "directories/frmVvo.h"
#include "directories/list_directory.h"
#include "ui/navigator.h"

namespace veltron {

void registerDirectoryScreens(AppState& state)
{
    using namespace directories;
    auto& nav = ui::navigator();
    nav.registerScreen(QStringLiteral("frmVvo"), [&state] { return new frmVvo(state); });
    nav.registerScreen(QStringLiteral("frmBD_Type"), [&state] { return new frmBD_Type(state); });
    nav.registerScreen(QStringLiteral("frmBD_Goryuch"), [&state] { return new frmBD_Goryuch(state); });
    nav.registerScreen(QStringLiteral("frmBD_KVV"), [&state] { return new frmBD_KVV(state); });
    nav.registerScreen(QStringLiteral("frmBD/tabDolgn"), [&state] {
        return new frmBD(state, records::Directory::Positions, QStringLiteral("Список должностей"));
    });
    nav.registerScreen(QStringLiteral("frmBD/tabIstochnik"), [&state] {
        return new frmBD(state, records::Directory::Sources,
                         QStringLiteral("Список источников исходных данных"));
    });
}

}  // namespace veltron
