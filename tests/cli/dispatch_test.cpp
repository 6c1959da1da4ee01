// How veltron-cli takes its words: help, unknown commands, the data folder
// named by the user, and how messages repeat what was typed.
#include "cli/cli_support.h"
#include "common/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

using namespace veltron;

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(EmbeddedCli, HelpAndUnknownCommandsTouchNothing)
{
    test::TempFolder dir;
    const QString missing = dir.file("нет такой");
    const struct {
        QStringList args;
        int status;
        bool usageOnStdout;
    } cases[] = {
        {{"--help"}, 0, true},
        {{"-h"}, 0, true},
        {{"help"}, 0, true},
        {{"--data", missing, "--help"}, 0, true},
        {{"--data", dir.path(), "no-such-command"}, 1, false},
        {{"--data", missing, "no-such-command"}, 1, false},
    };
    for (const auto& c : cases) {
        const auto r = test::runCliWith(c.args, {"VELTRON_DATA="});
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE((c.usageOnStdout ? r.out : r.err).contains(QStringLiteral("Использование")))
            << c.args.join(' ').toStdString();
        if (c.status == 1)
            EXPECT_TRUE(r.err.contains(QStringLiteral("Неизвестная команда «no-such-command»")));
        EXPECT_TRUE(entries(dir.path()).isEmpty()) << c.args.join(' ').toStdString();
    }
}

// A folder named by --data or VELTRON_DATA gets a store only from init (or a
// copy from a server): a typing error must not become a new, empty store.
TEST(EmbeddedCli, NamedFolderWithoutAStoreIsRefusedAndLeftAlone)
{
    test::TempFolder dir;
    const QString typo = dir.file("typo");
    const QString empty = dir.file("empty");
    ASSERT_TRUE(QDir().mkpath(empty));
    const QString init = QStringLiteral("Создать в этой папке новую базу данных: veltron-cli --data «%1» init");
    const struct {
        QStringList args;
        QStringList env;
        QString said;
        QString advice;
    } cases[] = {
        {{"--data", typo, "run", "--all"}, {}, QStringLiteral("Папка данных «%1» не найдена").arg(typo), init.arg(typo)},
        {{"run", "--all"}, {"VELTRON_DATA=" + typo}, QStringLiteral("Папка данных «%1» не найдена").arg(typo),
         init.arg(typo)},
        {{"--data", empty, "run", "--all"}, {}, QStringLiteral("В папке данных «%1» нет базы данных").arg(empty),
         init.arg(empty)},
        {{"--data", empty, "model2", "--mass", "1", "--energy", "1"}, {}, QStringLiteral("нет базы данных"),
         init.arg(empty)},
        {{"--data", typo, "copy-store", "--to", "Veltron"}, {}, QStringLiteral("нет базы данных программы"), {}},
        {{"--data", "", "run", "--all"}, {}, QStringLiteral("После --data не указана папка данных"), {}},
    };
    for (const auto& c : cases) {
        const auto r = test::runCliWith(c.args, c.env.isEmpty() ? QStringList{"VELTRON_DATA="} : c.env);
        const std::string what = c.args.join(' ').toStdString();
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_TRUE(r.out.isEmpty()) << what;
        EXPECT_TRUE(r.err.contains(c.said)) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.advice)) << what << ": " << r.err.toStdString();
        EXPECT_FALSE(QFileInfo::exists(typo)) << what;
        EXPECT_TRUE(entries(empty).isEmpty()) << what;
    }

    // init makes the store there; then the folder is used like any other.
    ASSERT_EQ(test::runCliWith({"--data", typo, "init"}).status, 0);
    const auto r = test::runCliWith({"--data", typo, "run", "--all"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
}

// The default data folder (the program folder in a build tree) cannot be
// mistyped: it is made and filled on first use, as before.
TEST(EmbeddedCli, DefaultFolderGetsItsStoreOnFirstUse)
{
    test::TempFolder dir;
    const QString program = dir.file("veltron-cli");
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELTRON_CLI), program));
    const auto r = test::runProgram(program, {"run", "--all"}, {"VELTRON_DATA=", "VELTRON_DSN="});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.file("bdVeltron.sqlite")));
    EXPECT_TRUE(QFile::exists(dir.file("tabMirvel.sqlite")));
}

// What was typed comes back cut and escaped; a number too large for a
// double is called out of range, not "no number".
TEST(EmbeddedCli, MessagesRepeatArgumentsCutAndEscaped)
{
    test::TempFolder dir;
    const QString huge = QString(100 * 1024, QLatin1Char('x'));
    const struct {
        QStringList args;
        QString said;
        QString notSaid;
    } cases[] = {
        {{"run", huge}, QStringLiteral("… (всего символов: 102400)»"), huge.left(300)},
        {{"run", QStringLiteral("a\x1b[31mb\nc\td")}, QStringLiteral("«a\\x1b[31mb\\nc\\td»"), QStringLiteral("\x1b")},
        {{"no\x07such"}, QStringLiteral("«no\\x07such»"), QStringLiteral("\x07")},
        {{"format", "result", "1e400"}, QStringLiteral("«1e400» — число вне допустимого диапазона"),
         QStringLiteral("не является числом")},
        {{"format", "result", "-1e-400"}, QStringLiteral("вне допустимого диапазона"), {}},
        {{"format", "result", "1e4x"}, QStringLiteral("«1e4x» не является числом"), {}},
        {{"model2", "--mass", "1e400", "--energy", "1"}, QStringLiteral("Масса «1e400» — число вне допустимого диапазона"),
         {}},
        {{"report", "appendix", "X", "--out", dir.file("r.docx"), "--pressure", "9e999"},
         QStringLiteral("Давление «9e999» — число вне допустимого диапазона"), {}},
    };
    for (const auto& c : cases) {
        const auto r = test::runCli(dir.path(), c.args);
        const std::string what = c.args.join(' ').left(60).toStdString();
        EXPECT_EQ(r.status, 1) << what;
        EXPECT_TRUE(r.err.contains(c.said)) << what << ": " << r.err.left(500).toStdString();
        if (!c.notSaid.isEmpty())
            EXPECT_FALSE(r.err.contains(c.notSaid)) << what;
        EXPECT_LT(r.err.size(), 4000) << what;
    }
}

TEST(EmbeddedCli, UnreadableStoreIsAClearMessage)
{
    test::TempFolder dir;
    QFile f(dir.file("bdVeltron.sqlite"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(1024, 'q'));
    f.close();
    const auto r = test::runCliWith({"--data", dir.path(), "run", "X"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("Не удалось открыть базу данных"))) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("повреждён"))) << r.err.toStdString();
}
