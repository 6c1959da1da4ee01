// Two users of one store, each with his own settings: the calculation
// opened last and the report folder are each user's own.
#include "screens/screens_fixture.h"

#include "records/report_folder.h"
#include "ui/frmAddFolder.h"

#include <QDir>

using namespace veltron;
using namespace veltron::test;
using screens::frmInput;

namespace {

class Users : public ModelIScreens {
protected:
    void as(const char* user) { state.userSettingsFile = home.file(QString::fromLatin1(user) + ".ini"); }

    // Opens the calculation chosen from the list and leaves it again.
    void openAndLeave(const QString& name)
    {
        auto* list = openList();
        ASSERT_NE(list, nullptr);
        list->Option3->setChecked(true);
        list->Combo1->setCurrentIndex(list->Combo1->findText(name));
        click(list->Command1);
        auto* input = visible<frmInput>("frmInput");
        ASSERT_NE(input, nullptr);
        trigger(input, "mnuReturn");
    }

    // What the list offers as "последний загружаемый расчет".
    QString lastOffered()
    {
        auto* list = openList();
        if (!list)
            return {};
        click(list->Option2);
        const QString name = list->txtRasch->text();
        list->back();
        settle();
        return name;
    }

    // The report folder dialog from the input screen: its folder, then,
    // when `choose` is given, that folder chosen and confirmed.
    QString reportFolder(const QString& choose = {})
    {
        auto* list = openList();
        list->Option3->setChecked(true);
        click(list->Command1);
        auto* input = visible<frmInput>("frmInput");
        trigger(input, "mnuReports");
        auto* dialog = visible<ui::frmAddFolder>("frmAddFolder");
        if (!dialog)
            return QStringLiteral("no dialog");
        const QString shown = dialog->currentPath();
        if (choose.isEmpty()) {
            click(dialog->Command2);
        } else {
            dialog->setCurrentPath(choose);
            dialogs.answers = {ui::Answer::Yes};
            click(dialog->Command1);
        }
        trigger(input, "mnuReturn");
        return shown;
    }

    TempFolder home;  // the users' settings
};

}  // namespace

TEST_F(Users, TwoUsersOfOneStoreKeepTheirOwnLastCalculationAndReportFolder)
{
    for (const char* name : {"Цех А", "Цех Б", "Цех В"})
        records::createCalculation(*state.store, QString::fromUtf8(name));
    // What the store remembered before: the starting value of every user.
    const auto shared = records::findByName(*state.store, QStringLiteral("Цех В"));
    records::recordOpening(*state.store, shared->id);
    state.store->exec("UPDATE tabPath SET Path = ?", {folder.path()});

    as("a");
    EXPECT_EQ(lastOffered(), QStringLiteral("Цех В"));
    openAndLeave(QStringLiteral("Цех А"));
    as("b");
    EXPECT_EQ(lastOffered(), QStringLiteral("Цех А")) << "b first meets the store after a's opening";
    openAndLeave(QStringLiteral("Цех Б"));
    as("a");
    EXPECT_EQ(lastOffered(), QStringLiteral("Цех А"));
    as("b");
    EXPECT_EQ(lastOffered(), QStringLiteral("Цех Б"));

    const QString folderA = QDir(folder.path()).filePath("a");
    const QString folderB = QDir(folder.path()).filePath("b");
    QDir().mkpath(folderA);
    QDir().mkpath(folderB);
    as("a");
    EXPECT_EQ(reportFolder(folderA), folder.path());
    as("b");
    EXPECT_EQ(reportFolder(folderB), folder.path());
    as("a");
    EXPECT_EQ(reportFolder(), folderA);
    as("b");
    EXPECT_EQ(reportFolder(), folderB);
    EXPECT_EQ(records::storedReportFolder(*state.store), folder.path()) << "the store's folder is nobody's";
}
