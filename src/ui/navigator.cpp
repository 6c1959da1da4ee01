#include "ui/navigator.h"

#include "ui/dialogs.h"
#include "ui/screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltron::ui {

Navigator& navigator()
{
    static Navigator instance;
    return instance;
}

void Navigator::registerScreen(const QString& name, Factory factory)
{
    factories_[name] = std::move(factory);
}

bool Navigator::knows(const QString& name) const
{
    return factories_.count(name) > 0;
}

QWidget* Navigator::open(const QString& name)
{
    const auto it = factories_.find(name);
    if (it == factories_.end())
        return nullptr;
    QWidget* w = it->second();
    if (w) {
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
    }
    return w;
}

QWidget* Navigator::replace(QWidget* from, const QString& name)
{
    if (from) {
        from->hide();
        from->deleteLater();
    }
    return open(name);
}

void Navigator::exitRoutine()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* screen = qobject_cast<Screen*>(w); screen && !screen->mayLeave())
            return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        w->hide();
        w->deleteLater();
    }
    QApplication::quit();
}

QWidget* openFrom(QWidget* caller, const QString& name, std::function<void()> returned)
{
    if (!navigator().knows(name)) {
        dialogs().inform(QStringLiteral("Внимание!"), QStringLiteral("Эта часть программы ещё не реализована."),
                         Icon::Information);
        return nullptr;
    }
    if (caller)
        caller->hide();
    QWidget* screen = navigator().open(name);
    if (!screen) {
        if (caller)
            caller->show();
        return nullptr;
    }
    if (!caller)
        return screen;
    QObject::connect(screen, &QObject::destroyed, caller, [caller, returned = std::move(returned)] {
        caller->show();
        if (returned)
            returned();
    });
    return screen;
}

namespace {

class Placeholder : public QWidget {
public:
    Placeholder(const QString& title, const QString& text, const QString& backTo) : backTo_(backTo)
    {
        setObjectName(QStringLiteral("frmPlaceholder"));
        setWindowTitle(title);
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(text, this);
        label->setObjectName(QStringLiteral("Label1"));
        label->setWordWrap(true);
        layout->addWidget(label);
        auto* back = new QPushButton(QStringLiteral("<<Назад"), this);
        back->setObjectName(QStringLiteral("cmdReturn"));
        layout->addWidget(back);
        QObject::connect(back, &QPushButton::clicked, this, [this] { goBack(); });
        resize(520, 160);
    }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        e->ignore();
        goBack();
    }

private:
    void goBack()
    {
        if (!leaving_) {
            leaving_ = true;
            navigator().replace(this, backTo_);
        }
    }
    QString backTo_;
    bool leaving_ = false;
};

}  // namespace

QWidget* makePlaceholder(const QString& title, const QString& text, const QString& backTo)
{
    return new Placeholder(title, text, backTo);
}

}  // namespace veltron::ui
