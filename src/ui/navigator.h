#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>

namespace veltron::ui {

// Opens screens by their names, so that a screen can lead to another one of
// any subsystem without knowing its class, and runs the one exit routine.
class Navigator {
public:
    using Factory = std::function<QWidget*()>;

    void registerScreen(const QString& name, Factory factory);
    bool knows(const QString& name) const;

    // Creates the screen, shows it and returns it; nullptr for an unknown name.
    QWidget* open(const QString& name);
    // Destroys `from` (later, when control returns to the event loop) and opens `name`.
    QWidget* replace(QWidget* from, const QString& name);

    // Closes and destroys every top-level window; the program then ends.
    // A screen with unsaved changes asks first (Screen::mayLeave); its
    // "Отмена" stops the exit and every window stays.
    void exitRoutine();

private:
    std::map<QString, Factory> factories_;
};

Navigator& navigator();

// Opens the named screen from `caller`, which hides while it is open: when
// that screen is gone (its "<<Назад" destroys it) the caller shows again and
// `returned` runs, to refill what the screen may have changed. A name that is
// not registered opens nothing: the user is told so and the caller stays.
// Returns the opened screen.
QWidget* openFrom(QWidget* caller, const QString& name, std::function<void()> returned = {});

// A plain screen for a function that is not built yet: it says so and leads back.
QWidget* makePlaceholder(const QString& title, const QString& text, const QString& backTo);

}  // namespace veltron::ui
