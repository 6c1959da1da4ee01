#pragma once

#include <QHash>
#include <QKeySequence>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <functional>

class QAction;
class QComboBox;
class QMenu;
class QPushButton;
class QWidget;

namespace veltron::ui {

// Base of every screen: a window with a menu bar whose items carry the
// system's names, and one rule for closing by the window frame: it does what
// the screen's "<<Назад" (or "Выход") does.
class Screen : public QMainWindow {
    Q_OBJECT
public:
    explicit Screen(const QString& objectName, const QString& title, QWidget* parent = nullptr);

    // A top-level item of the menu bar that acts at once.
    QAction* addMenuAction(const QString& name, const QString& text, std::function<void()> action,
                           const QKeySequence& shortcut = {});
    // A drop-down menu of the menu bar.
    QMenu* addMenu(const QString& name, const QString& text);
    QAction* addMenuItem(QMenu* menu, const QString& name, const QString& text, std::function<void()> action,
                         const QKeySequence& shortcut = {});

    // Whether what the screen shows differs from what is stored; the screens
    // that edit stored data answer it.
    virtual bool hasUnsavedChanges() const { return false; }
    // Before the screen goes ("<<Назад", the window frame, "Выход"): while
    // it has unsaved changes, asks "Сохранить изменения?" (Да / Нет /
    // Отмена). Да stores them, Нет drops them, Отмена keeps the screen.
    // True when the screen may go.
    bool mayLeave();

    // A save that succeeded, said in the status bar until the next message;
    // with a folder, the button "Открыть папку" beside it opens that folder.
    void announceSaved(const QString& text, const QString& folder = {});
    // "Отчет сохранен: PATH" with the button that opens its folder; nothing
    // for an empty path (no report was written).
    void announceReport(const QString& path);

    // Hides this screen and destroys it once control returns to the event loop.
    void leave();
    // Leaves this screen and shows the one it returns to, when there is one.
    void leaveTo(QWidget* next);

protected:
    // Stores what the screen shows, as its own save does; false when that
    // was refused or failed (the reason shown), and the screen stays.
    virtual bool saveChanges() { return true; }
    // What closing the window by its frame does; the default is the exit routine.
    virtual void closedByFrame();
    void closeEvent(QCloseEvent* event) override;

private:
    bool leaving_ = false;
    QPushButton* openFolder_ = nullptr;
    QString folder_;
};

// A screen opened from another one, which it shows again when it closes.
// "Отмена" and closing by the window frame return without handing anything back.
class ReturningScreen : public Screen {
    Q_OBJECT
public:
    ReturningScreen(const QString& objectName, const QString& title, QWidget* returnTo, QWidget* parent = nullptr);

    // "Отмена".
    virtual void cancel();

protected:
    // Closes this screen and shows the one it returns to, when that still exists.
    void returnToCaller();
    void closedByFrame() override { cancel(); }

private:
    QPointer<QWidget> returnTo_;
};

// The records a directory renamed while it was open: old name → new name.
class Renames {
public:
    void note(const QString& from, const QString& to);
    // The name a record has now: followed through every rename, unchanged when it was not renamed.
    QString follow(const QString& name) const;

private:
    QHash<QString, QString> to_;
};

// A screen that edits a directory; it tells its caller which records it renamed.
class DirectoryScreen : public Screen {
    Q_OBJECT
public:
    using Screen::Screen;

Q_SIGNALS:
    void renamed(const QString& from, const QString& to);
};

// Opens the named directory from `caller` as openFrom does; when it is
// gone, `returned` gets what it renamed, so that the caller keeps its
// choice, or takes the record under its new name.
QWidget* openDirectory(QWidget* caller, const QString& name, std::function<void(const Renames&)> returned);

// A choice kept over a return from a directory: the item named `previous`
// (followed through the renames) is selected again when the list still has
// it; otherwise the list keeps the item it selected on refilling.
void keepChoice(QComboBox* list, const QString& previous, const Renames& renames);

// Opens the named screen in place of `from`; a screen that is not built yet
// gets a placeholder that says so and leads back to `backTo`.
void goTo(Screen* from, const QString& name, const QString& backTo, const QString& notBuiltText = {});

}  // namespace veltron::ui
