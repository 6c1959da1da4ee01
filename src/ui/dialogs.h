#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace veltron::ui {

enum class Icon { None, Information, Warning, Critical, Question };
enum class Answer { Ok, Yes, No, Cancel };
enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };

// Every message box and file or folder dialog of the program goes through
// this one service, so that tests can answer them and read what was shown.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual Answer ask(const QString& title, const QString& text, Icon icon, Buttons buttons) = 0;
    void inform(const QString& title, const QString& text, Icon icon) { ask(title, text, icon, Buttons::Ok); }
    // Returns the chosen file path, or an empty text when the user cancels.
    virtual QString saveFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    // An existing file to read; an empty text when the user cancels.
    virtual QString openFileName(const QString& title, const QString& folder, const QString& filter) = 0;
    virtual QString chooseFolder(const QString& start) = 0;
    // A line of text asked for, starting from `initial`; nothing when the user cancels.
    virtual std::optional<QString> askText(const QString& title, const QString& label, const QString& initial) = 0;
    // The short sound of a refused key.
    virtual void beep() = 0;
};

// The installed service; the real one unless a test installed its own.
Dialogs& dialogs();
void installDialogs(Dialogs* service);  // nullptr restores the real one

// Answers from a script and records every call. Messages need no script; a
// question, a save dialog or a folder choice that finds no scripted answer,
// and scripted answers left over at the end, are faults of the test: they go
// to the failure handler (a test runner installs one that fails the test).
class ScriptedDialogs : public Dialogs {
public:
    struct Call {
        QString kind;  // "ask", "save", "open", "folder", "text"
        QString title;
        QString text;
        Icon icon = Icon::None;
        Buttons buttons = Buttons::Ok;
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    Answer ask(const QString& title, const QString& text, Icon icon, Buttons buttons) override;
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString chooseFolder(const QString& start) override;
    // Records "label|initial" as the call's text.
    std::optional<QString> askText(const QString& title, const QString& label, const QString& initial) override;
    void beep() override { ++beeps; }

    // Questions take the scripted answers in order; an unscripted question
    // is reported and answered No (Cancel where there is no No).
    std::deque<Answer> answers;
    // Answers of the save, open and folder dialogs in order; an empty text cancels.
    std::deque<QString> files;
    // Answers of the text questions in order; nothing cancels.
    std::deque<std::optional<QString>> texts;
    std::vector<Call> calls;
    int beeps = 0;

    const Call* last() const { return calls.empty() ? nullptr : &calls.back(); }
    // Messages (not file dialogs) shown so far, as "title|text".
    QStringList messages() const;
    // Forgets the calls; answers still scripted are a fault of the test.
    void clear();

    using FailureHandler = std::function<void(const QString& what)>;
    // Without a handler a fault of the script aborts the program.
    static void setFailureHandler(FailureHandler handler);

private:
    static void fail(const QString& what);
    void failLeftovers() const;
    QString fileAnswer(const QString& kind, const QString& title, const QString& folder, const QString& filter);
};

}  // namespace veltron::ui
