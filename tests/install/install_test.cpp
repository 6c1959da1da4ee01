// cmake --install into a temporary prefix, then the installed programs on a
// fresh user: their data goes to the user's data folder, they find their
// templates and manual in <prefix>/share/veltron, and the installed
// veltron-cli answers exactly as the one of the build tree.

#include "common/test_support.h"
#include "report/docx/package.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

using namespace veltron;

namespace {

const QString kExample = QStringLiteral("Пример — резервуар пропана");

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome execute(const QString& program, const QStringList& args, const QProcessEnvironment& env, int timeoutMs = 120000)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    Outcome o;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        o.err = QStringLiteral("timed out: ") + program;
        return o;
    }
    o.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    o.out = QString::fromUtf8(p.readAllStandardOutput());
    o.err = QString::fromUtf8(p.readAllStandardError());
    return o;
}

// The environment of a user who has never run the program: a home of its
// own and none of the program's variables.
QProcessEnvironment freshUser(const QString& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"VELTRON_DATA", "VELTRON_DSN", "VELTRON_TEMPLATES", "XDG_DATA_HOME"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

QStringList filesUnder(const QString& dir, const QString& pattern)
{
    QStringList found;
    QDirIterator it(dir, {pattern}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        root_ = new test::TempFolder;
        // Every install rule of the project is in the default component;
        // naming it keeps build/install_manifest.txt, the list of the user's
        // own install, as it was.
        const Outcome o = execute(QStringLiteral(VELTRON_CMAKE),
                                  {"--install", QStringLiteral(VELTRON_BUILD_DIR), "--prefix", prefix(), "--component",
                                   "Unspecified"},
                                  QProcessEnvironment::systemEnvironment());
        installStatus_ = o.status;
        installLog_ = o.out + o.err;
    }
    static void TearDownTestSuite()
    {
        delete root_;
        root_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(installStatus_, 0) << installLog_.toStdString(); }

    static QString prefix() { return root_->file(QStringLiteral("prefix")); }
    static QString installed(const QString& relative) { return QDir(prefix()).filePath(relative); }
    Outcome cli(const QStringList& args, const QString& home)
    {
        return execute(installed("bin/veltron-cli"), args, freshUser(home));
    }

    static inline test::TempFolder* root_ = nullptr;
    static inline int installStatus_ = -1;
    static inline QString installLog_;
    test::TempFolder home;
};

}  // namespace

TEST_F(Installed, PutsProgramsTemplatesManualIconAndDesktopEntryInTheirPlaces)
{
    for (const char* file : {"bin/veltron", "bin/veltron-cli", "share/veltron/templates/otchet_veltron_pril2.docx",
                             "share/veltron/templates/otchet_veltron_pril3.docx",
                             "share/veltron/templates/otchet_veltron_kr.docx", "share/veltron/templates/Metka7.docx",
                             "share/icons/hicolor/scalable/apps/veltron.svg",
                             "share/icons/hicolor/48x48/apps/veltron.png",
                             "share/icons/hicolor/256x256/apps/veltron.png", "share/applications/veltron.desktop"})
        EXPECT_TRUE(QFileInfo(installed(QString::fromLatin1(file))).isFile()) << file;
    EXPECT_TRUE(QFileInfo(installed("bin/veltron")).isExecutable());
    // Every template of the build is installed.
    EXPECT_EQ(filesUnder(installed("share/veltron/templates"), "*.docx").size(),
              filesUnder(QStringLiteral(VELTRON_BUILD_DIR "/templates"), "*.docx").size());

    const QString manual = installed(QStringLiteral("share/veltron/Инструкция Вельтрон_17.0/Инструкция Вельтрон_17.0"));
    EXPECT_TRUE(QFileInfo(manual + ".docx").isFile());
    EXPECT_TRUE(QFileInfo(manual + ".html").isFile());
    EXPECT_FALSE(filesUnder(QFileInfo(manual).path() + "/images", "*.png").isEmpty());

    QFile entry(installed("share/applications/veltron.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
    for (const QString& line : {QStringLiteral("[Desktop Entry]"), QStringLiteral("Type=Application"),
                                QStringLiteral("Name=Вельтрон"), QStringLiteral("Icon=veltron"),
                                QStringLiteral("Exec=") + installed("bin/veltron")})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
}

TEST_F(Installed, CommandLineKeepsTheDataOfEachUserAndFindsItsTemplates)
{
    const QString userData = home.file(QStringLiteral(".local/share/veltron"));

    const Outcome run = cli({"run", kExample}, home.path());
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(userData + "/bdVeltron.sqlite").isFile());
    EXPECT_TRUE(QFileInfo(userData + "/tabMirvel.sqlite").isFile());
    EXPECT_TRUE(filesUnder(prefix(), "*.sqlite").isEmpty()) << "nothing is written into the installed folders";
    // The same answer as the build tree's program on a fresh data folder.
    test::TempFolder buildData;
    ASSERT_EQ(execute(QStringLiteral(VELTRON_BUILD_CLI), {"--data", buildData.path(), "init"}, freshUser(home.path()))
                  .status,
              0);
    const Outcome reference = execute(QStringLiteral(VELTRON_BUILD_CLI), {"--data", buildData.path(), "run", kExample},
                                      freshUser(home.path()));
    ASSERT_EQ(reference.status, 0) << reference.err.toStdString();
    EXPECT_EQ(run.out, reference.out);

    const Outcome model2 = cli({"model2", "--mass", "2000", "--energy", "1540"}, home.path());
    ASSERT_EQ(model2.status, 0) << model2.err.toStdString();
    const QString tnt = QStringLiteral(R"({"Wt": 681.41)");
    EXPECT_TRUE(model2.out.startsWith(tnt)) << model2.out.toStdString();

    const QString report = home.file(QStringLiteral("отчет.docx"));
    const Outcome main = cli({"report", "main", kExample, "--out", report}, home.path());
    ASSERT_EQ(main.status, 0) << main.err.toStdString();
    const auto package = docx::Package::read(report, QStringLiteral("отчет"));
    EXPECT_TRUE(QString::fromUtf8(package.part("word/document.xml")).contains(QStringLiteral("Резервуар сжиженного пропана Е-1")));

    // --data still chooses another folder, which gets its store from init.
    EXPECT_EQ(cli({"--data", home.file("other"), "run", kExample}, home.path()).status, 1);
    EXPECT_FALSE(QFileInfo::exists(home.file("other")));
    ASSERT_EQ(cli({"--data", home.file("other"), "init"}, home.path()).status, 0);
    const Outcome elsewhere = cli({"--data", home.file("other"), "run", kExample}, home.path());
    ASSERT_EQ(elsewhere.status, 0) << elsewhere.err.toStdString();
    EXPECT_TRUE(QFileInfo(home.file("other/bdVeltron.sqlite")).isFile());
}

TEST_F(Installed, TheDesktopProgramStartsOnTheUsersDataFolder)
{
    QProcess program;
    program.setProcessEnvironment(freshUser(home.path()));
    program.start(installed("bin/veltron"), {});
    ASSERT_TRUE(program.waitForStarted());
    const QString store = home.file(QStringLiteral(".local/share/veltron/bdVeltron.sqlite"));
    for (int i = 0; i < 200 && !QFileInfo(store).isFile() && program.state() == QProcess::Running; ++i)
        QThread::msleep(50);
    EXPECT_TRUE(QFileInfo(store).isFile());
    EXPECT_EQ(program.state(), QProcess::Running) << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished();
}
