#pragma once

#include "common/test_support.h"
#include "db/store.h"
#include "records/app_state.h"
#include "ui/dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QTest>

namespace veltron::test {

// A seeded store in a temporary folder with the example calculation (Id 1)
// current, and scripted message boxes.
class ScreenFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        state.dataDir = data.path();
        state.programDir = data.path();
        state.store = db::Store::openEmbedded(data.path());
        state.current = {1, QStringLiteral("Пример — резервуар пропана")};
    }
    void TearDown() override { closeAllScreens(); }

    // Types text into a box the way a user does, replacing what it holds.
    static void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        box->del();
        QTest::keyClicks(box, text);
    }
    static void click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    static void trigger(QWidget* screen, const char* action)
    {
        auto* a = screen->findChild<QAction*>(QLatin1String(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
    QStringList messages() const { return dialogs.messages(); }

    TempFolder data;
    ui::ScriptedDialogs dialogs;
    AppState state;
};

}  // namespace veltron::test
