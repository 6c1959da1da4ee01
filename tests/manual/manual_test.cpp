// The user manual: its pictures are the ones the picture program takes from
// the current screens, and the build turned its source into the Word
// document and the page with every picture and chapter.

#include "app/frmAbout.h"
#include "common/test_support.h"
#include "calc/number_text.h"
#include "db/program_folders.h"
#include "db/store.h"
#include "records/calculation_inputs.h"
#include "records/store_reference.h"
#include "report/format.h"
#include "report/docx/package.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>

using namespace veltron;

namespace {

const QString kSource = QStringLiteral(VELTRON_MANUAL_SOURCE);
const QString kBuilt = QStringLiteral(VELTRON_MANUAL_BUILT);
const QString kName = QStringLiteral("Инструкция Вельтрон_" VELTRON_VERSION);

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

// One version everywhere: the About box, the manual's title page and folder
// name, and the properties of the documents the program writes, the manual
// among them, all say the version of the build.
TEST(Manual, TheAboutBoxTheManualAndTheDocumentsSayTheOneVersion)
{
    const QString version = QStringLiteral(VELTRON_VERSION);
    AppState state;
    frmAbout about(state);
    EXPECT_EQ(about.lblVersion->text(), QStringLiteral("Версия ") + version);

    EXPECT_EQ(db::userManualName(), kName);
    EXPECT_EQ(QFileInfo(kBuilt).fileName(), kName);
    EXPECT_TRUE(db::userManualBase(QStringLiteral("/opt/x")).endsWith(kName + QLatin1Char('/') + kName));

    const auto package = docx::Package::read(kBuilt + "/" + kName + ".docx", QStringLiteral("инструкция"));
    const QString body = QString::fromUtf8(package.part("word/document.xml"));
    EXPECT_TRUE(body.contains(QStringLiteral("Версия ") + version));
    EXPECT_FALSE(body.contains(QStringLiteral("@VERSION@")));
    const QString page = QString::fromUtf8(readAll(kBuilt + "/" + kName + ".html"));
    EXPECT_TRUE(page.contains(QStringLiteral("Версия ") + version));
    EXPECT_FALSE(page.contains(QStringLiteral("@VERSION@")));

    const QString app = QString::fromUtf8(package.part("docProps/app.xml"));
    const QStringList numbers = version.split(QLatin1Char('.'));
    const QString appVersion =
        QStringLiteral("%1.%2").arg(numbers.value(0).toInt(), 2, 10, QLatin1Char('0')).arg(numbers.value(1).toInt(), 4, 10, QLatin1Char('0'));
    EXPECT_TRUE(app.contains(QStringLiteral("<Application>Вельтрон</Application>"))) << app.toStdString();
    EXPECT_TRUE(app.contains(QStringLiteral("<AppVersion>") + appVersion + "</AppVersion>")) << app.toStdString();
}

// The worked example has the inputs of the example every new store holds,
// and the numbers it quotes are what the program computes for that example.
TEST(Manual, TheWorkedExampleQuotesWhatTheProgramComputes)
{
    const QString text = QString::fromUtf8(readAll(kSource + "/manual.html")).simplified();
    static const QRegularExpression quoted(QStringLiteral(
        "Для примера: m = ([0-9,]+) кг, Qв = ([0-9,]+), категория (\\S+), Wт = ([0-9,]+) кг, радиус зоны полного "
        "разрушения R1 = ([0-9,]+) м, граница опасной зоны R5 = ([0-9,]+) м"));
    const QRegularExpressionMatch match = quoted.match(text);
    ASSERT_TRUE(match.hasMatch()) << "the sentence with the example's results is not in the manual";
    EXPECT_TRUE(text.contains(QStringLiteral("«Пример — резервуар пропана»")));

    test::TempFolder data;
    const auto store = db::Store::openEmbedded(data.path());
    const auto example = records::findByName(*store, QStringLiteral("Пример — резервуар пропана"));
    ASSERT_TRUE(example);
    const records::StoreReference reference(*store);
    const calc::RunOutcome outcome = records::runLoaded(records::loadRunnableInputs(*store, *example), reference);
    ASSERT_TRUE(std::holds_alternative<calc::RaschResult>(outcome));
    const auto& r = std::get<calc::RaschResult>(outcome);
    EXPECT_EQ(match.captured(1), report::FormatResult(r.m));
    EXPECT_EQ(match.captured(2), report::FormatResult(r.Q));
    EXPECT_EQ(match.captured(3), r.Zn_kategor);
    EXPECT_EQ(match.captured(4), report::FormatResult(r.Wt));
    EXPECT_EQ(match.captured(5), report::FormatResult(r.Rzone[0]));
    EXPECT_EQ(match.captured(6), report::FormatResult(r.Rzone[4]));

    // The tables of the walk quote the example's blocks and conditions.
    const auto inputs = std::get<records::CalculationInputs>(records::loadRunnableInputs(*store, *example));
    for (double quotedInput : {inputs.main->V_GF, inputs.main->V_PGF, inputs.adjacent.value(0).V_GF,
                               inputs.adjacent.value(0).S_sech, inputs.adjacent.value(0).Davl})
        EXPECT_TRUE(text.contains(QStringLiteral("<td>") + calc::numberText(quotedInput)))
            << calc::numberText(quotedInput).toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("<td>") + inputs.conditions.S_kontakt + QStringLiteral("</td>")));
}
