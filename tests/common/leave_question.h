#pragma once

// The question on leaving a screen that edits stored data, checked the same
// way on each such screen: asked only while what is shown differs from what
// is stored; Отмена stays, Нет leaves without storing, Да stores and leaves.

#include "common/test_support.h"
#include "ui/dialogs.h"
#include "ui/screen.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <deque>
#include <functional>

namespace veltron::test {

struct LeaveCase {
    std::function<ui::Screen*()> open;             // the screen as it opens, nothing changed
    std::function<void(ui::Screen*, int)> change;  // edit 1 or edit 2 of what is stored; they differ
    std::function<void(ui::Screen*)> save;         // the screen's own save, its own questions answered
    std::function<void(ui::Screen*)> leave;        // "<<Назад" or the window frame
    std::function<QString()> stored;               // the stored value the edits touch
    std::deque<ui::Answer> afterYes = {};          // what the save asks after "Да"
};

inline void expectAsked(const ui::ScriptedDialogs& dialogs)
{
    ASSERT_FALSE(dialogs.calls.empty());
    const ui::ScriptedDialogs::Call& q = dialogs.calls.front();
    EXPECT_EQ(q.title, QStringLiteral("В н и м а н и е ! ! !"));
    EXPECT_EQ(q.text, QStringLiteral("Сохранить изменения?"));
    EXPECT_EQ(q.icon, ui::Icon::Question);
    EXPECT_EQ(q.buttons, ui::Buttons::YesNoCancel);
}

inline void expectLeaveQuestion(ui::ScriptedDialogs& dialogs, const LeaveCase& c)
{
    const auto leave = [&](ui::Screen* s, std::deque<ui::Answer> answers) {
        dialogs.clear();
        dialogs.answers = std::move(answers);
        c.leave(s);
        settle();
    };
    const auto gone = [](const QPointer<ui::Screen>& s) { return !s || !s->isVisible(); };

    // Nothing changed: no question.
    QPointer<ui::Screen> s = c.open();
    ASSERT_TRUE(s);
    const QString before = c.stored();
    leave(s, {});
    EXPECT_TRUE(dialogs.calls.empty()) << dialogs.messages().join('\n').toStdString();
    EXPECT_TRUE(gone(s));

    // Changed: asked; Отмена stays with the edit, Нет leaves without storing it.
    s = c.open();
    ASSERT_TRUE(s);
    c.change(s, 1);
    EXPECT_TRUE(s->hasUnsavedChanges());
    leave(s, {ui::Answer::Cancel});
    expectAsked(dialogs);
    ASSERT_FALSE(gone(s)) << "Отмена keeps the screen";
    EXPECT_TRUE(s->hasUnsavedChanges());
    leave(s, {ui::Answer::No});
    expectAsked(dialogs);
    EXPECT_TRUE(gone(s));
    EXPECT_EQ(c.stored(), before);

    // Just saved: no question.
    s = c.open();
    ASSERT_TRUE(s);
    c.change(s, 1);
    c.save(s);
    settle();
    EXPECT_FALSE(s->hasUnsavedChanges());
    leave(s, {});
    EXPECT_TRUE(dialogs.calls.empty()) << dialogs.messages().join('\n').toStdString();
    EXPECT_TRUE(gone(s));
    const QString saved = c.stored();
    EXPECT_NE(saved, before);

    // Да stores on the way out.
    s = c.open();
    ASSERT_TRUE(s);
    c.change(s, 2);
    std::deque<ui::Answer> answers{ui::Answer::Yes};
    answers.insert(answers.end(), c.afterYes.begin(), c.afterYes.end());
    leave(s, answers);
    expectAsked(dialogs);
    EXPECT_TRUE(gone(s));
    EXPECT_NE(c.stored(), saved);
}

}  // namespace veltron::test
