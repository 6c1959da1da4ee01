#include "common/test_support.h"
#include "ui/dialogs.h"
#include "ui/frmAddFolder.h"
#include "ui/frmSave_otchet.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using namespace veltron;

namespace {

class ReportFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        opener = new QWidget;  // a top-level screen: closeAllScreens destroys it
        opener->setObjectName("opener");
        QDir(folders.path()).mkpath("reports/2026");
    }
    void TearDown() override { test::closeAllScreens(); }

    QString storedPath() const { return stored; }
    void setStoredPath(const QString& p) { stored = p; }
    ui::frmAddFolder* open()
    {
        opener->show();
        ui::FolderStorage storage;
        storage.read = [this] { return stored; };
        storage.write = [this](const QString& path) {
            if (refuseWrite) {
                ui::dialogs().inform("Внимание!", "запись невозможна", ui::Icon::Critical);
                return false;
            }
            stored = path;
            return true;
        };
        ui::openReportFolderDialog(std::move(storage), reportFolder, program.path(), opener);
        return test::visible<ui::frmAddFolder>("frmAddFolder");
    }

    test::TempFolder program, folders;
    QString stored;  // the folder kept between runs
    bool refuseWrite = false;
    ui::ScriptedDialogs dialogs;
    QString reportFolder;
    QWidget* opener = nullptr;
};

}  // namespace

TEST_F(ReportFolder, UnusableStoredFolderFallsBackToTheProgramFolderAndIsWrittenBack)
{
    for (const QString& stored : {QString(), folders.file("deleted-folder")}) {
        setStoredPath(stored);
        auto* dlg = open();
        ASSERT_NE(dlg, nullptr);
        EXPECT_FALSE(opener->isVisible());
        EXPECT_EQ(dlg->currentPath(), QDir::cleanPath(program.path()));
        EXPECT_EQ(storedPath(), QDir::cleanPath(program.path()));
        EXPECT_TRUE(reportFolder.isEmpty());
        dlg->Command2->click();
        test::settle();
    }
}

TEST_F(ReportFolder, SaveAsksAndOnYesKeepsTheFolderOnNoStaysOpen)
{
    const QString target = QDir::cleanPath(folders.file("reports/2026"));
    setStoredPath(folders.file("reports"));
    auto* dlg = open();
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->currentPath(), QDir::cleanPath(folders.file("reports")));
    dlg->setCurrentPath(target);

    dialogs.answers = {ui::Answer::No};
    dlg->Command1->click();
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("В н и м а н и е ! ! !"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("Путь \"%1\" - для сохранения результатов расчета?").arg(target));
    EXPECT_EQ(dialogs.calls[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(test::visibleScreen("frmAddFolder"), dlg);
    EXPECT_EQ(dlg->currentPath(), target);
    EXPECT_TRUE(reportFolder.isEmpty());

    dialogs.answers = {ui::Answer::Yes};
    dlg->Command1->click();
    test::settle();
    EXPECT_EQ(reportFolder, target);
    EXPECT_EQ(storedPath(), target);
    EXPECT_EQ(test::visibleScreens(), QStringList{"opener"});
}

TEST_F(ReportFolder, CancelAfterBrowsingChangesNothing)
{
    setStoredPath(folders.file("reports"));
    reportFolder = "/earlier";
    auto* dlg = open();
    ASSERT_NE(dlg, nullptr);
    dlg->setCurrentPath(folders.file("reports/2026"));
    dlg->Command2->click();
    test::settle();
    EXPECT_EQ(reportFolder, QStringLiteral("/earlier"));
    EXPECT_EQ(storedPath(), folders.file("reports"));
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(test::visibleScreens(), QStringList{"opener"});
}

TEST_F(ReportFolder, UnavailableVolumeIsReportedAndTheFolderKept)
{
    setStoredPath(folders.file("reports"));
    auto* dlg = open();
    ASSERT_NE(dlg, nullptr);
    dlg->Drive1->addItem("/no-such-volume", "/no-such-volume");
    dlg->chooseDrive(dlg->Drive1->count() - 1);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(dialogs.calls[0].text, QStringLiteral("Выбранный диск /no-such-volume недоступен!"));
    EXPECT_EQ(dialogs.calls[0].icon, ui::Icon::Critical);
    EXPECT_EQ(dlg->currentPath(), QDir::cleanPath(folders.file("reports")));
    test::snapshot(dlg, "frmAddFolder");
}

TEST(ReportProgressWindow, HidesTheScreenForTheTimeOfTheReport)
{
    QWidget screen;
    screen.setObjectName("frmOutput");
    screen.show();
    {
        ui::ReportProgress progress(&screen);
        EXPECT_FALSE(screen.isVisible());
        auto* w = test::visible<ui::frmSave_otchet>("frmSave_otchet");
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->Label1->text(),
                  QStringLiteral("Внимание! Идет сохранение отчета. Не выполняйте никаких действий  до завершения!!!"));
        EXPECT_TRUE(w->Timer1->isActive());
        EXPECT_FALSE(w->Label2->text().isEmpty());
        test::snapshot(w, "frmSave_otchet");
    }
    test::settle();
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(test::visibleScreen("frmSave_otchet"), nullptr);
}

TEST_F(ReportFolder, AFolderThatCannotBeKeptLeavesTheDialogOpenAndTheReportFolderAsItWas)
{
    setStoredPath(folders.file("reports"));
    reportFolder = "/earlier";
    auto* dlg = open();
    ASSERT_NE(dlg, nullptr);
    dlg->setCurrentPath(folders.file("reports/2026"));
    refuseWrite = true;
    dialogs.answers = {ui::Answer::Yes};
    dlg->Command1->click();
    test::settle();
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[1].text, QStringLiteral("запись невозможна"));
    EXPECT_EQ(test::visibleScreen("frmAddFolder"), dlg);
    EXPECT_EQ(reportFolder, QStringLiteral("/earlier"));
    EXPECT_EQ(storedPath(), folders.file("reports"));
}
