#include "ui/screen.h"

#include "ui/desktop.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include <memory>

namespace veltron::ui {

Screen::Screen(const QString& objectName, const QString& title, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(objectName);
    setWindowTitle(title);
}

QAction* Screen::addMenuAction(const QString& name, const QString& text, std::function<void()> action,
                               const QKeySequence& shortcut)
{
    QAction* a = menuBar()->addAction(text);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
    return a;
}

QMenu* Screen::addMenu(const QString& name, const QString& text)
{
    QMenu* m = menuBar()->addMenu(text);
    m->setObjectName(name);
    return m;
}

QAction* Screen::addMenuItem(QMenu* menu, const QString& name, const QString& text, std::function<void()> action,
                             const QKeySequence& shortcut)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    if (!shortcut.isEmpty()) {
        a->setShortcut(shortcut);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    connect(a, &QAction::triggered, this, [action = std::move(action)] { action(); });
    return a;
}

bool Screen::mayLeave()
{
    if (leaving_ || !hasUnsavedChanges())
        return true;
    switch (dialogs().ask(QStringLiteral("В н и м а н и е ! ! !"), QStringLiteral("Сохранить изменения?"),
                          Icon::Question, Buttons::YesNoCancel)) {
    case Answer::Yes: return saveChanges();
    case Answer::No: return true;
    default: return false;
    }
}

void Screen::announceSaved(const QString& text, const QString& folder)
{
    QStatusBar* bar = statusBar();
    if (!openFolder_) {
        openFolder_ = new QPushButton(QStringLiteral("Открыть папку"), bar);
        openFolder_->setObjectName(QStringLiteral("cmdOpenFolder"));
        openFolder_->setFlat(true);
        bar->addPermanentWidget(openFolder_);
        connect(openFolder_, &QPushButton::clicked, this, [this] {
            if (!desktop().openDocument(folder_))
                dialogs().inform(QStringLiteral("Внимание!"),
                                 QStringLiteral("Не удалось открыть папку «%1»: не найдена программа для ее "
                                                "просмотра.")
                                     .arg(QDir::toNativeSeparators(folder_)),
                                 Icon::Critical);
        });
        // The button belongs to the message it came with.
        connect(bar, &QStatusBar::messageChanged, openFolder_, [this](const QString& message) {
            if (message.isEmpty())
                openFolder_->hide();
        });
    }
    folder_ = folder;
    bar->showMessage(text);
    openFolder_->setVisible(!folder.isEmpty());
}

void Screen::announceReport(const QString& path)
{
    if (!path.isEmpty())
        announceSaved(QStringLiteral("Отчет сохранен: ") + QDir::toNativeSeparators(path), QFileInfo(path).absolutePath());
}

void Screen::leave()
{
    if (leaving_)
        return;
    leaving_ = true;
    hide();
    deleteLater();
}

void Screen::leaveTo(QWidget* next)
{
    leave();
    if (next)
        next->show();
}

void Screen::closedByFrame()
{
    navigator().exitRoutine();
}

void Screen::closeEvent(QCloseEvent* event)
{
    event->ignore();
    if (!leaving_)
        closedByFrame();
}

ReturningScreen::ReturningScreen(const QString& objectName, const QString& title, QWidget* returnTo, QWidget* parent)
    : Screen(objectName, title, parent), returnTo_(returnTo)
{
}

void ReturningScreen::cancel()
{
    returnToCaller();
}

void ReturningScreen::returnToCaller()
{
    leaveTo(returnTo_);
}

void Renames::note(const QString& from, const QString& to)
{
    // An earlier rename to `from` now leads on to `to`.
    for (QString& target : to_)
        if (target == from)
            target = to;
    if (from != to && !to_.contains(from))
        to_.insert(from, to);
}

QString Renames::follow(const QString& name) const
{
    return to_.value(name, name);
}

QWidget* openDirectory(QWidget* caller, const QString& name, std::function<void(const Renames&)> returned)
{
    auto renames = std::make_shared<Renames>();
    QWidget* screen = openFrom(caller, name, [renames, returned = std::move(returned)] {
        if (returned)
            returned(*renames);
    });
    if (auto* directory = qobject_cast<DirectoryScreen*>(screen))
        QObject::connect(directory, &DirectoryScreen::renamed, directory,
                         [renames](const QString& from, const QString& to) { renames->note(from, to); });
    return screen;
}

void keepChoice(QComboBox* list, const QString& previous, const Renames& renames)
{
    const int at = list->findText(renames.follow(previous));
    if (at >= 0 && at != list->currentIndex())
        list->setCurrentIndex(at);
}

void goTo(Screen* from, const QString& name, const QString& backTo, const QString& notBuiltText)
{
    if (from)
        from->leave();
    if (navigator().open(name))
        return;
    QWidget* p = makePlaceholder(QStringLiteral("Программа \"Вельтрон\""),
                                 notBuiltText.isEmpty()
                                     ? QStringLiteral("Эта часть программы ещё не реализована.")
                                     : notBuiltText,
                                 backTo);
    p->setAttribute(Qt::WA_DeleteOnClose);
    p->show();
}

}  // namespace veltron::ui
