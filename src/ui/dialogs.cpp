#include "ui/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace veltron::ui {

namespace {

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(Buttons b)
{
    switch (b) {
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

class RealDialogs : public Dialogs {
public:
    Answer ask(const QString& title, const QString& text, Icon icon, Buttons buttons) override
    {
        QMessageBox box(toQt(icon), title, text, toQt(buttons), QApplication::activeWindow());
        box.setButtonText(QMessageBox::Yes, QStringLiteral("Да"));
        box.setButtonText(QMessageBox::No, QStringLiteral("Нет"));
        box.setButtonText(QMessageBox::Cancel, QStringLiteral("Отмена"));
        switch (box.exec()) {
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return Answer::Ok;
        }
    }
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getSaveFileName(QApplication::activeWindow(), title, folder, filter);
    }
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override
    {
        return QFileDialog::getOpenFileName(QApplication::activeWindow(), title, folder, filter);
    }
    QString chooseFolder(const QString& start) override
    {
        return QFileDialog::getExistingDirectory(QApplication::activeWindow(), QString(), start);
    }
    std::optional<QString> askText(const QString& title, const QString& label, const QString& initial) override
    {
        QInputDialog box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setLabelText(label);
        box.setTextValue(initial);
        box.setOkButtonText(QStringLiteral("OK"));
        box.setCancelButtonText(QStringLiteral("Отмена"));
        if (box.exec() != QDialog::Accepted)
            return std::nullopt;
        return box.textValue();
    }
    void beep() override { QApplication::beep(); }
};

RealDialogs& real()
{
    static RealDialogs service;
    return service;
}

Dialogs* installed = nullptr;

}  // namespace

Dialogs& dialogs()
{
    return installed ? *installed : real();
}

void installDialogs(Dialogs* service)
{
    installed = service;
}

namespace {

ScriptedDialogs::FailureHandler& failureHandler()
{
    static ScriptedDialogs::FailureHandler handler;
    return handler;
}

QString describe(const QString& kind, const QString& title, const QString& text)
{
    return QStringLiteral("%1 «%2»: %3").arg(kind, title, text);
}

}  // namespace

void ScriptedDialogs::setFailureHandler(FailureHandler handler)
{
    failureHandler() = std::move(handler);
}

void ScriptedDialogs::fail(const QString& what)
{
    if (failureHandler())
        failureHandler()(what);
    else
        qFatal("%s", qPrintable(what));
}

ScriptedDialogs::ScriptedDialogs()
{
    installDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    if (&dialogs() == this)
        installDialogs(nullptr);
    failLeftovers();
}

void ScriptedDialogs::failLeftovers() const
{
    if (!answers.empty())
        fail(QStringLiteral("%1 scripted answer(s) to questions never asked").arg(answers.size()));
    if (!files.empty())
        fail(QStringLiteral("scripted file or folder answers never asked for: ")
             + QStringList(files.begin(), files.end()).join(QStringLiteral(", ")));
    if (!texts.empty())
        fail(QStringLiteral("%1 scripted text answer(s) never asked for").arg(texts.size()));
}

Answer ScriptedDialogs::ask(const QString& title, const QString& text, Icon icon, Buttons buttons)
{
    calls.push_back({QStringLiteral("ask"), title, text, icon, buttons});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    fail(describe(QStringLiteral("unscripted question"), title, text));
    return buttons == Buttons::OkCancel ? Answer::Cancel : Answer::No;
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString& folder, const QString& filter)
{
    return fileAnswer(QStringLiteral("save"), title, folder, filter);
}

QString ScriptedDialogs::openFileName(const QString& title, const QString& folder, const QString& filter)
{
    return fileAnswer(QStringLiteral("open"), title, folder, filter);
}

QString ScriptedDialogs::fileAnswer(const QString& kind, const QString& title, const QString& folder,
                                    const QString& filter)
{
    calls.push_back({kind, title, folder + QLatin1Char('|') + filter, Icon::None, Buttons::Ok});
    if (files.empty()) {
        fail(describe(QStringLiteral("unscripted %1 dialog").arg(kind), title, folder));
        return {};
    }
    const QString f = files.front();
    files.pop_front();
    return f;
}

QString ScriptedDialogs::chooseFolder(const QString& start)
{
    calls.push_back({QStringLiteral("folder"), QString(), start, Icon::None, Buttons::Ok});
    if (files.empty()) {
        fail(describe(QStringLiteral("unscripted folder choice"), QString(), start));
        return {};
    }
    const QString f = files.front();
    files.pop_front();
    return f;
}

std::optional<QString> ScriptedDialogs::askText(const QString& title, const QString& label, const QString& initial)
{
    calls.push_back({QStringLiteral("text"), title, label + QLatin1Char('|') + initial, Icon::None, Buttons::OkCancel});
    if (texts.empty()) {
        fail(describe(QStringLiteral("unscripted text question"), title, label));
        return std::nullopt;
    }
    const auto t = texts.front();
    texts.pop_front();
    return t;
}

QStringList ScriptedDialogs::messages() const
{
    QStringList out;
    for (const auto& c : calls)
        if (c.kind == QLatin1String("ask"))
            out << c.title + QLatin1Char('|') + c.text;
    return out;
}

void ScriptedDialogs::clear()
{
    failLeftovers();
    calls.clear();
    answers.clear();
    files.clear();
    texts.clear();
    beeps = 0;
}

}  // namespace veltron::ui
