// The user manual: its pictures are the ones the picture program takes from
// the current screens, and the build turned its source into the Word
// document and the page with every picture and chapter.

#include "common/test_support.h"
#include "report/docx/package.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>

using namespace veltron;

namespace {

const QString kSource = QStringLiteral(VELTRON_MANUAL_SOURCE);
const QString kBuilt = QStringLiteral(VELTRON_MANUAL_BUILT);
const QString kName = QStringLiteral("Инструкция Вельтрон_17.0");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The pictures the manual shows ("images/…png") and its chapter titles.
struct Source {
    QStringList pictures;
    QStringList chapters;
};

Source readSource()
{
    Source s;
    const QByteArray text = readAll(kSource + "/manual.html");
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_buffer(text.constData(), text.size()));
    for (const auto& img : doc.select_nodes("//figure/img"))
        s.pictures << QString::fromUtf8(img.node().attribute("src").value()).mid(QStringLiteral("images/").size());
    for (const auto& h2 : doc.select_nodes("//body/h2"))
        s.chapters << QString::fromUtf8(h2.node().child_value()).simplified();
    return s;
}

QSize sizeOf(const QString& png)
{
    return QImageReader(png).size();
}

}  // namespace

// The picture program walks the current screens; every picture it takes is
// in the manual, every screen picture of the manual is one it takes, at the
// size the screen has now. A screen that changed size means the pictures
// are stale: take them again with scripts/manual-shots.
TEST(Manual, ItsPicturesAreTheCurrentScreens)
{
    const Source source = readSource();
    ASSERT_FALSE(source.pictures.isEmpty());
    test::TempFolder out;
    QProcess shots;
    shots.start(QStringLiteral(VELTRON_MANUAL_SHOTS), {out.path()});
    ASSERT_TRUE(shots.waitForFinished(180000));
    ASSERT_EQ(shots.exitCode(), 0) << shots.readAllStandardError().toStdString();

    const QStringList taken = QDir(out.path()).entryList({"*.png"}, QDir::Files);
    for (const QString& picture : taken)
        EXPECT_TRUE(source.pictures.contains(picture)) << picture.toStdString() << " is taken but not shown";
    for (const QString& picture : source.pictures) {
        const QString committed = kSource + "/images/" + picture;
        ASSERT_TRUE(QFile::exists(committed)) << picture.toStdString();
        // The pages of the reports are drawn by LibreOffice in the script.
        if (picture.startsWith(QLatin1String("report-")) && picture.endsWith(QLatin1String("-page.png")))
            continue;
        ASSERT_TRUE(taken.contains(picture)) << picture.toStdString() << " is shown but no longer taken";
        EXPECT_EQ(sizeOf(committed), sizeOf(out.file(picture))) << picture.toStdString();
    }
}

TEST(Manual, TheBuildMakesTheWordDocumentAndThePageWithEveryPictureAndChapter)
{
    const Source source = readSource();
    const auto package = docx::Package::read(kBuilt + "/" + kName + ".docx", QStringLiteral("инструкция"));
    const QString body = QString::fromUtf8(package.part("word/document.xml"));
    EXPECT_EQ(body.count(QStringLiteral("<wp:inline")), source.pictures.size());
    const QString page = QString::fromUtf8(readAll(kBuilt + "/" + kName + ".html"));
    for (int i = 0; i < source.chapters.size(); ++i) {
        const QString numbered = QStringLiteral("%1. %2").arg(i + 1).arg(source.chapters[i]);
        EXPECT_TRUE(body.contains(numbered)) << numbered.toStdString();
        EXPECT_TRUE(page.contains(numbered)) << numbered.toStdString();
    }
    for (const QString& picture : source.pictures) {
        EXPECT_TRUE(page.contains(QStringLiteral("src=\"images/") + picture + "\"")) << picture.toStdString();
        EXPECT_EQ(readAll(kBuilt + "/images/" + picture), readAll(kSource + "/images/" + picture)) << picture.toStdString();
    }
    const int captions = page.count(QRegularExpression(QStringLiteral("<figcaption>Рисунок \\d+ — ")));
    EXPECT_EQ(captions, source.pictures.size());
}
