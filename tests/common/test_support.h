#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace veltron::test {

// A fresh, empty data folder that disappears with the test.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Runs pending events, destroying the screens that were let go.
void settle();

// The visible top-level screen with this object name, or nullptr.
QWidget* visibleScreen(const QString& objectName);

template <typename T>
T* visible(const QString& objectName)
{
    return qobject_cast<T*>(visibleScreen(objectName));
}

// Names of the visible top-level windows.
QStringList visibleScreens();

// Destroys every top-level window, so that the next test starts clean.
void closeAllScreens();

}  // namespace veltron::test

namespace veltron::test {

// Saves a picture of the widget as NAME.png into $VELTRON_SCREENSHOTS, when
// that variable is set, so that a person can look at the screens under test.
void snapshot(QWidget* widget, const QString& name);

}  // namespace veltron::test
