#include "cli/cli_support.h"
#include "common/test_support.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace veltron;

TEST(EmbeddedCli, UnknownCommandPrintsUsageAndFailsAfterCreatingTheStore)
{
    test::TempFolder dir;
    const auto r = test::runCli(dir.path(), {"no-such-command"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Неизвестная команда"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("Использование"))) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file("bdVeltron.sqlite")));
    EXPECT_TRUE(QFile::exists(dir.file("tabMirvel.sqlite")));
}

TEST(EmbeddedCli, UnreadableStoreIsAClearMessage)
{
    test::TempFolder dir;
    QFile f(dir.file("bdVeltron.sqlite"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1024, 'q'));
    f.close();
    const auto r = test::runCli(dir.path(), {"run", "X"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Не удалось открыть базу данных"))) << r.err.toStdString();
}

// --version names the build's version and opens no store.
TEST(EmbeddedCli, VersionPrintsTheVersionOfTheBuild)
{
    const auto v = test::runCliWith({"--version"});
    EXPECT_EQ(v.status, 0) << v.err.toStdString();
    EXPECT_EQ(v.out, QStringLiteral("veltron-cli " VELTRON_VERSION "\n"));
    EXPECT_TRUE(v.err.isEmpty()) << v.err.toStdString();
}
