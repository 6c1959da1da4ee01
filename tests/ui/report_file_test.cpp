#include "common/test_support.h"
#include "ui/dialogs.h"
#include "ui/report_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <QWidget>

#include <stdexcept>

#include <sys/stat.h>

using namespace veltron;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The message of a failed save, with the reason on its second line when there is one.
void expectSaveError(const ui::ScriptedDialogs& d, const QString& reason = {})
{
    ASSERT_NE(d.last(), nullptr);
    EXPECT_EQ(d.last()->title, QStringLiteral("Вельтрон"));
    if (reason.isEmpty())
        EXPECT_EQ(d.last()->text, QStringLiteral("Ошибка в процессе сохранения файла"));
    else
        EXPECT_TRUE(d.last()->text.startsWith(QStringLiteral("Ошибка в процессе сохранения файла\n"))
                    && d.last()->text.contains(reason))
            << d.last()->text.toStdString();
    EXPECT_EQ(d.last()->icon, ui::Icon::Critical);
}

}  // namespace

TEST(ReportFile, OpensOnTheReportFolderAndAddsTheExtension)
{
    test::TempFolder dir;
    ui::ScriptedDialogs d;
    d.files = {dir.file("Отчет по блоку 1")};
    const QString written = ui::saveReportFile(dir.path(), QByteArray("PK-report"), dir.path());
    EXPECT_EQ(written, dir.file("Отчет по блоку 1.docx"));
    EXPECT_EQ(readAll(written), QByteArray("PK-report"));
    ASSERT_EQ(d.calls.size(), 1u);
    EXPECT_EQ(d.calls[0].kind, QStringLiteral("save"));
    EXPECT_EQ(d.calls[0].text, dir.path() + QStringLiteral("|Документы (*.docx)"));
    EXPECT_EQ(ui::withDocxExtension("a.DOCX"), QStringLiteral("a.DOCX"));
}

TEST(ReportFile, CancelShowsTheMessageAndWritesNothing)
{
    test::TempFolder dir;
    ui::ScriptedDialogs d;
    d.files = {QString()};
    EXPECT_TRUE(ui::saveReportFile(dir.path(), QByteArray("x"), dir.path()).isEmpty());
    expectSaveError(d);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(ReportFile, FailedWriteLeavesNoFile)
{
    test::TempFolder dir;
    ui::ScriptedDialogs d;
    d.files = {dir.file("no-such-folder/r.docx")};
    EXPECT_TRUE(ui::saveReportFile(dir.path(), QByteArray("x"), dir.path()).isEmpty());
    expectSaveError(d, QStringLiteral("папка «%1» не существует").arg(dir.file("no-such-folder")));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// The save dialog goes through the check of every report file: what it
// points at is refused with the reason and stays as it was.
TEST(ReportFile, SaveDialogRefusesAPipeAFolderAndTheStoreFiles)
{
    test::TempFolder data, elsewhere;
    const QByteArray store("SQLite format 3\0 and the pages of a store", 42);
    for (const char* name : {"bdVeltron.sqlite", "Data Source.txt"}) {
        QFile f(data.file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(store);
    }
    ASSERT_EQ(::mkfifo(QFile::encodeName(elsewhere.file("pipe.docx")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(elsewhere.path()).mkdir("folder.docx"));
    ASSERT_TRUE(QFile::link(data.file("bdVeltron.sqlite"), elsewhere.file("link.docx")));
    ASSERT_TRUE(QFile::link(data.file("Data Source.txt"), elsewhere.file("name")));
    const struct {
        QString chosen;
        const char* reason;
    } cases[] = {
        {elsewhere.file("pipe"), "не обычный файл"},
        {elsewhere.file("folder.docx"), "не обычный файл"},
        {elsewhere.file("link.docx"), "файл базы данных"},
        {elsewhere.file("name"), ""},  // "name.docx", a new file beside the link "name", which stays
    };
    for (const auto& c : cases) {
        ui::ScriptedDialogs d;
        d.files = {c.chosen};
        const QString written = ui::saveReportFile(elsewhere.path(), QByteArray("PK-report"), data.path());
        if (*c.reason) {
            EXPECT_TRUE(written.isEmpty()) << c.chosen.toStdString();
            expectSaveError(d, QString::fromUtf8(c.reason));
        } else {
            EXPECT_EQ(written, c.chosen + ".docx");
        }
    }
    EXPECT_EQ(readAll(data.file("bdVeltron.sqlite")), store);
    EXPECT_EQ(readAll(data.file("Data Source.txt")), store);
    struct stat pipe {};
    ASSERT_EQ(::stat(QFile::encodeName(elsewhere.file("pipe.docx")).constData(), &pipe), 0);
    EXPECT_TRUE(S_ISFIFO(pipe.st_mode));
    EXPECT_TRUE(QFileInfo(elsewhere.file("folder.docx")).isDir());
}

TEST(ReportFile, FailedBuildIsNamedAndNeitherAsksNorTouchesFilesAndTheScreenReturns)
{
    test::TempFolder dir;
    const QString existing = dir.file("old.docx");
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier report");
    }
    QWidget screen;
    screen.show();
    ui::ScriptedDialogs d;  // no file answer: a save dialog would fail the test
    const QString written = ui::makeReport(&screen, dir.path(), dir.path(), []() -> QByteArray {
        throw std::runtime_error("Закладка «mR0» не найдена в шаблоне.");
    });
    EXPECT_TRUE(written.isEmpty());
    ASSERT_EQ(d.calls.size(), 1u);
    EXPECT_EQ(d.calls[0].title, QStringLiteral("Внимание!"));
    EXPECT_EQ(d.calls[0].text, QStringLiteral("Отчет не создан: Закладка «mR0» не найдена в шаблоне."));
    EXPECT_EQ(d.calls[0].icon, ui::Icon::Critical);
    EXPECT_EQ(readAll(existing), QByteArray("earlier report"));
    EXPECT_TRUE(screen.isVisible());
}

TEST(ReportFile, WholePassHidesTheScreenWhileBuildingAndSaves)
{
    test::TempFolder dir;
    QWidget screen;
    screen.show();
    ui::ScriptedDialogs d;
    d.files = {dir.file("r")};
    bool hiddenWhileBuilding = false;
    const QString written = ui::makeReport(&screen, dir.path(), dir.path(), [&] {
        hiddenWhileBuilding = !screen.isVisible() && test::visibleScreen("frmSave_otchet");
        return QByteArray("doc");
    });
    EXPECT_TRUE(hiddenWhileBuilding);
    EXPECT_EQ(written, dir.file("r.docx"));
    EXPECT_EQ(readAll(written), QByteArray("doc"));
    EXPECT_TRUE(screen.isVisible());
}

TEST(ReportFile, AFileOfSeveralFormatsKeepsAKnownExtensionAndBuildsForThePathChosen)
{
    test::TempFolder dir;
    ui::ScriptedDialogs d;
    const QStringList extensions{"docx", "xlsx", "csv"};
    const struct {
        const char* typed;
        const char* written;
    } cases[] = {{"перечень.XLSX", "перечень.XLSX"}, {"перечень.csv", "перечень.csv"}, {"перечень", "перечень.docx"},
                 {"перечень.pdf", "перечень.pdf.docx"}};
    for (const auto& c : cases) {
        d.files = {dir.file(QString::fromUtf8(c.typed))};
        QString builtFor;
        const QString written = ui::saveFileAs("Сохранение", dir.path(), {}, "Файлы", extensions, [&](const QString& path) {
            builtFor = path;
            return QByteArray("bytes");
        });
        EXPECT_EQ(written, dir.file(QString::fromUtf8(c.written)));
        EXPECT_EQ(builtFor, written);
        EXPECT_EQ(readAll(written), QByteArray("bytes"));
    }
    EXPECT_TRUE(d.messages().isEmpty());

    // A build that fails says why and writes nothing.
    d.files = {dir.file("сбой.xlsx")};
    EXPECT_TRUE(ui::saveFileAs("Сохранение", dir.path(), {}, "Файлы", extensions, [](const QString&) -> QByteArray {
                    throw std::runtime_error("книга не записана");
                }).isEmpty());
    EXPECT_EQ(d.messages(), QStringList{"Внимание!|Отчет не создан: книга не записана"});
    EXPECT_FALSE(QFile::exists(dir.file("сбой.xlsx")));

    // A name the check of report files refuses is refused before anything is built.
    QDir(dir.path()).mkdir("папка.csv");
    d.files = {dir.file("папка.csv")};
    bool built = false;
    EXPECT_TRUE(ui::saveFileAs("Сохранение", dir.path(), {}, "Файлы", extensions, [&](const QString&) {
                    built = true;
                    return QByteArray("bytes");
                }).isEmpty());
    EXPECT_FALSE(built);
    EXPECT_TRUE(QFileInfo(dir.file("папка.csv")).isDir());
    ASSERT_EQ(d.messages().size(), 2);
    EXPECT_TRUE(d.messages().last().startsWith("Вельтрон|Ошибка в процессе сохранения файла\n«"));
}
