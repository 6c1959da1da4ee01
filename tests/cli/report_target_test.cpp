// Where veltron-cli writes a report or a picture: never over a file that is
// not a regular one or that belongs to a store; a failed save names its reason.
#include "cli/cli_support.h"
#include "common/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/stat.h>

using namespace veltron;

namespace {

const QString kExample = QStringLiteral("Пример — резервуар пропана");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool isFifo(const QString& path)
{
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 && S_ISFIFO(s.st_mode);
}

// Folders and files that the unprivileged user of runCliUnprivileged may use.
void openToOthers(const QString& path, mode_t mode)
{
    ::chmod(QFile::encodeName(path).constData(), mode);
}

}  // namespace

TEST(EmbeddedReportTarget, ReportsGoOnlyToNewOrRegularFilesOutsideTheStore)
{
    test::TempFolder data, other;
    const QStringList options = test::storeOptions(data.path());
    ASSERT_EQ(::mkfifo(QFile::encodeName(other.file("pipe.docx")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(other.path()).mkdir("folder.docx"));
    ASSERT_TRUE(QFile::link(data.file("bdVeltron.sqlite"), other.file("link.docx")));
    ASSERT_TRUE(QFile::link(data.file("tabMirvel.sqlite"), other.file("map.png")));
    {
        QFile old(other.file("old.docx"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an earlier report");
    }
    const struct {
        QStringList command;
        int status;
        QString written;  // the file reported as written
        QString said;
    } cases[] = {
        // The store's own file as the target: ".docx" is added, as the save dialog adds it.
        {{"report", "main", kExample, "--out", data.file("bdVeltron.sqlite")}, 0, data.file("bdVeltron.sqlite.docx"), {}},
        {{"report", "main", kExample, "--out", other.file("old.docx")}, 0, other.file("old.docx"), {}},
        {{"report", "main", kExample, "--out", other.file("pipe")}, 1, {}, QStringLiteral("не обычный файл")},
        {{"report", "appendix", kExample, "--out", other.file("folder.docx")}, 1, {}, QStringLiteral("не обычный файл")},
        {{"report", "main", kExample, "--out", other.file("link.docx")}, 1, {}, QStringLiteral("файл базы данных")},
        {{"report", "model2", "--mass", "1", "--energy", "1", "--out", other.file("link")}, 1, {},
         QStringLiteral("файл базы данных")},
        {{"zone-map", kExample, "--out", other.file("map.png")}, 1, {}, QStringLiteral("файл базы данных")},
        {{"zone-map", kExample, "--out", data.file("zones.png")}, 0, data.file("zones.png"), {}},
    };
    for (const auto& c : cases) {
        const auto r = test::runCliWith(options + c.command);
        const std::string what = c.command.join(' ').toStdString();
        EXPECT_EQ(r.status, c.status) << what << ": " << r.err.toStdString();
        if (c.status == 0)
            EXPECT_EQ(QJsonDocument::fromJson(r.out.toUtf8()).object()["file"].toString(), c.written) << what;
        else
            EXPECT_TRUE(r.err.contains(c.said)) << what << ": " << r.err.toStdString();
    }
    EXPECT_TRUE(readAll(data.file("bdVeltron.sqlite")).startsWith("SQLite format 3"));
    EXPECT_TRUE(isFifo(other.file("pipe.docx")));
    EXPECT_TRUE(QFileInfo(other.file("folder.docx")).isDir());
    EXPECT_TRUE(readAll(other.file("old.docx")).startsWith("PK"));
    EXPECT_EQ(test::runCliWith(options + QStringList{"run", "--all"}).status, 0) << "the store is whole";
}

// A failed save says why: no folder, no permission, disk full, name too long.
TEST(EmbeddedReportTarget, FailedSaveNamesItsReason)
{
    test::TempFolder data, out;
    const QStringList options = test::storeOptions(data.path());
    const QStringList report{"report", "model2", "--mass", "1", "--energy", "1", "--out"};

    const auto noFolder = test::runCliWith(options + report + QStringList{out.file("нет/r.docx")});
    EXPECT_EQ(noFolder.status, 1);
    EXPECT_TRUE(noFolder.err.contains(QStringLiteral("папка «%1» не существует").arg(out.file("нет"))))
        << noFolder.err.toStdString();

    const auto longName = test::runCliWith(options + report + QStringList{out.file(QString(200, QChar(0x44F)))});
    EXPECT_EQ(longName.status, 1);
    EXPECT_TRUE(longName.err.contains(QStringLiteral("слишком длинное имя файла"))) << longName.err.toStdString();

    // As a user who may read the store but not write the report's folder.
    for (const QString& path : {data.path(), out.path()})
        openToOthers(path, 0777);
    for (const char* file : {"bdVeltron.sqlite", "tabMirvel.sqlite"})
        openToOthers(data.file(file), 0666);
    const QString locked = out.file("закрыта");
    ASSERT_TRUE(QDir().mkpath(locked));
    openToOthers(locked, 0555);
    const auto denied = test::runCliUnprivileged(options + report + QStringList{locked + "/r.docx"});
    EXPECT_EQ(denied.status, 1);
    EXPECT_TRUE(denied.err.contains(QStringLiteral("нет прав на запись в папку «%1»").arg(locked)))
        << denied.err.toStdString();

    const QString small = out.file("small");
    ASSERT_TRUE(QDir().mkpath(small));
    const auto full = test::runCliOnSmallDisk(small, 16, QString(), options + report + QStringList{small + "/r.docx"});
    if (!full)
        GTEST_SKIP() << "this system does not let a test mount a small disk (unshare)";
    EXPECT_EQ(full->status, 1);
    EXPECT_TRUE(full->err.contains(QStringLiteral("на диске не хватает места"))) << full->err.toStdString();
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files).isEmpty());
}
