#include "screens/store_errors.h"

#include "ui/dialogs.h"

namespace veltron::screens {

void showStoreError(const db::StoreError& e, const QString& consequence)
{
    ui::dialogs().inform(QStringLiteral("Внимание!"),
                         consequence.isEmpty() ? e.message() : e.message() + QLatin1Char('\n') + consequence,
                         ui::Icon::Critical);
}

bool onStore(const std::function<void()>& action, const QString& consequence)
{
    try {
        action();
        return true;
    } catch (const db::StoreError& e) {
        showStoreError(e, consequence);
        return false;
    }
}

}  // namespace veltron::screens
