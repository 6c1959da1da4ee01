#include "common/test_support.h"

#include <QCoreApplication>
#include <QEvent>

#include <stdexcept>

namespace veltron::test {

TempFolder::TempFolder()
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

QWidget* visibleScreen(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == objectName)
            return w;
    return nullptr;
}

QStringList visibleScreens()
{
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && !w->objectName().isEmpty())
            names << w->objectName();
    names.sort();
    return names;
}

void closeAllScreens()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        w->hide();
        w->deleteLater();
    }
    settle();
}

}  // namespace veltron::test

#include <QDir>
#include <QPixmap>

namespace veltron::test {

void snapshot(QWidget* widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("VELTRON_SCREENSHOTS");
    if (dir.isEmpty() || !widget)
        return;
    QDir().mkpath(dir);
    settle();
    widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

}  // namespace veltron::test
