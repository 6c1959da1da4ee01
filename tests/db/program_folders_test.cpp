#include "common/test_support.h"
#include "db/data_source.h"
#include "db/program_folders.h"

#include <gtest/gtest.h>

#include <QDir>

using namespace veltron;

namespace {

// An environment variable set for the test and restored after it.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    QByteArray old_;
    bool had_;
};

}  // namespace

// A build tree keeps everything beside the program; an installed program
// (<prefix>/bin beside <prefix>/share/veltron) finds its files in the share
// folder and keeps its data in the user's data folder, unless told otherwise.
TEST(ProgramFolders, BuildTreeBesideTheProgramInstalledInShareAndTheUsersDataFolder)
{
    test::TempFolder root;
    const QString buildBin = root.file("build/bin");
    const QString prefix = root.file("prefix");
    QDir().mkpath(buildBin);
    QDir().mkpath(prefix + "/bin");
    QDir().mkpath(prefix + "/share/veltron");
    const QString userData = root.file("home/.local/share");
    ScopedEnv xdg("XDG_DATA_HOME", userData.toUtf8());
    ScopedEnv data("VELTRON_DATA", QByteArray());
    const QString manual = QStringLiteral("/Инструкция Вельтрон_" VELTRON_VERSION "/Инструкция Вельтрон_" VELTRON_VERSION);

    const db::ProgramFolders built = db::programFolders(buildBin);
    EXPECT_FALSE(built.installed);
    EXPECT_EQ(built.files, buildBin);
    EXPECT_EQ(db::defaultDataDir(buildBin), buildBin);
    EXPECT_EQ(db::defaultReportFolder(buildBin), buildBin);
    EXPECT_EQ(db::userManualBase(buildBin), buildBin + manual);

    const db::ProgramFolders installed = db::programFolders(prefix + "/bin");
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.files, prefix + "/share/veltron");
    EXPECT_EQ(db::defaultDataDir(prefix + "/bin"), userData + "/veltron");
    EXPECT_EQ(db::defaultReportFolder(prefix + "/bin"), QDir::homePath());
    EXPECT_EQ(db::userManualBase(prefix + "/bin"), prefix + "/share/veltron" + manual);

    // Both programs take the data folder through takeDataDir: the default
    // follows the layout, --data and VELTRON_DATA still choose another.
    QStringList args{"veltron-cli", "run", "--all"};
    EXPECT_EQ(db::takeDataDir(args, prefix + "/bin"), userData + "/veltron");
    args = {"veltron", "--data", root.file("mine")};
    EXPECT_EQ(db::takeDataDir(args, prefix + "/bin"), root.file("mine"));
    {
        ScopedEnv chosen("VELTRON_DATA", root.file("env").toUtf8());
        args = {"veltron"};
        EXPECT_EQ(db::takeDataDir(args, prefix + "/bin"), root.file("env"));
    }
}
