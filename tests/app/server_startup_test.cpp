// Start-up on a shared data source chosen at start (--dsn), on the test server.
#include "app/frmAbout.h"
#include "app/frmDataSourse.h"
#include "app/startup.h"
#include "common/test_store.h"
#include "db/data_source.h"
#include "ui/dialogs.h"
#include "ui/navigator.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace veltron;

namespace {

class ServerStartUp : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::useServerSchema();
        state.dataDir = data.path();
        state.programDir = data.path();
        state.dsn = test::serverDsn();
        registerAppScreens(state);
    }
    void TearDown() override { test::closeAllScreens(); }

    bool serverHasTables() { return db::Store::openOdbc(data.path(), test::serverDsn())->hasTables(); }

    test::TempFolder data;
    ui::ScriptedDialogs dialogs;
    AppState state;
};

}  // namespace

TEST_F(ServerStartUp, SharedSourceWithoutTablesIsChangedOnlyWhenTheUserSaysYes)
{
    dialogs.answers = {ui::Answer::No};
    startUp(state);
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("В н и м а н и е ! ! !"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("В базе данных источника «%1» нет таблиц программы. Создать их и "
                                                    "заполнить справочники?")
                                         .arg(test::serverDsn()));
    EXPECT_EQ(dialogs.calls[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmDataSourse"});
    EXPECT_EQ(test::visible<frmDataSourse>("frmDataSourse")->txtDataSourse->text(), test::serverDsn());
    EXPECT_EQ(state.store, nullptr);
    EXPECT_FALSE(serverHasTables());
    EXPECT_FALSE(QFile::exists(data.file("bdVeltron.sqlite"))) << "no embedded store beside a shared one";
    test::closeAllScreens();

    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    startUp(state);
    test::settle();
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
    ASSERT_NE(state.store, nullptr);
    EXPECT_EQ(state.store->source().dsn, test::serverDsn());
    EXPECT_GT(state.store->query("SELECT COUNT(*) FROM SubstChar").first().value(0).toInt(), 0);
    EXPECT_FALSE(QFile::exists(data.file("bdVeltron.sqlite")));

    // The next start finds the tables and asks nothing; the About box names the source.
    test::closeAllScreens();
    dialogs.clear();
    startUp(state);
    test::settle();
    EXPECT_TRUE(dialogs.calls.empty());
    ui::navigator().open(QStringLiteral("frmAbout"));
    test::settle();
    auto* about = test::visible<frmAbout>("frmAbout");
    ASSERT_NE(about, nullptr);
    test::snapshot(about, "frmAbout-server");
    EXPECT_EQ(about->lblStore->text(), QStringLiteral("База данных: источник данных ODBC «%1»").arg(test::serverDsn()));
}

TEST_F(ServerStartUp, UnreachableSharedSourceShowsTheMessageAndTheDialogWithItsName)
{
    state.dsn = QStringLiteral("НетТакого");
    startUp(state);
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].text,
              QStringLiteral("Невозможно подключиться к базе данных, установите имя источника данных ODBC!"));
    auto* dlg = test::visible<frmDataSourse>("frmDataSourse");
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->txtDataSourse->text(), QStringLiteral("НетТакого"));
    EXPECT_TRUE(dlg->lblReason->text().contains(QStringLiteral("НетТакого")));
    EXPECT_FALSE(QFile::exists(data.file("bdVeltron.sqlite")));

    // The right name connects (its tables made on the way), and the next start-up uses it.
    dialogs.clear();
    dialogs.answers = {ui::Answer::Yes};
    dlg->txtDataSourse->setText(test::serverDsn());
    dlg->Command1->click();
    test::settle();
    EXPECT_EQ(test::visibleScreens(), QStringList{"frmMain1"});
    EXPECT_EQ(state.dsn, test::serverDsn());
    EXPECT_EQ(state.store->source().dsn, test::serverDsn());
    EXPECT_FALSE(QFile::exists(db::dataSourceFilePath(data.path()))) << "the source of --dsn is not written there";
}
