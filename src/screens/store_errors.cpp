#include "screens/store_errors.h"

#include "ui/dialogs.h"

#include <QDebug>

namespace veltron::screens {

void showStoreError(const db::StoreError& e, const QString& consequence)
{
    // What the database said stays in the log; the user reads the program's message.
    if (!e.detail().isEmpty())
        qWarning().noquote() << "Вельтрон: база данных:" << e.detail();
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
