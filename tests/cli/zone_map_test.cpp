// veltron-cli zone-map: the map of a run's zones as a PNG or SVG file.
#include "cli/cli_support.h"
#include "common/test_support.h"

#include "db/store.h"
#include "records/calculations.h"
#include "records/complex_rows.h"
#include "report/zone_map.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

using namespace veltron;

namespace {

const QString kExample = QStringLiteral("Пример — резервуар пропана");

QJsonObject json(const QString& dir, const QStringList& args)
{
    const auto r = test::runCli(dir, args);
    EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int journalRows(const QString& dir)
{
    return int(test::openStore(dir)->query("SELECT Name_ob FROM tabOtchet").size());
}

}  // namespace

TEST(CliZoneMap, EachModelsMapIsTheOneItsResultsScreenDraws)
{
    test::TempFolder dir;
    const auto file = [&](const char* name) { return dir.file(QString::fromLatin1(name)); };

    // Model I: a stored calculation, the calculator at the pressure given.
    const double R0 = json(dir.path(), {"run", kExample})["R0"].toDouble();
    EXPECT_EQ(json(dir.path(), {"zone-map", kExample, "--out", file("m1.png"), "--pressure", "50"})["file"].toString(),
              file("m1.png"));
    EXPECT_EQ(contents(file("m1.png")), report::zoneMapPng({R0, report::overpressure(50, R0)}));

    // Model II: its results screen shows the calculator for 5 kPa.
    const double R0kvv = json(dir.path(), {"model2", "--mass", "100", "--energy", "4520"})["R0"].toDouble();
    json(dir.path(), {"zone-map", "--model2", "--mass", "100", "--energy", "4520", "--out", file("m2.SVG")});
    EXPECT_EQ(contents(file("m2.SVG")), report::zoneMapSvg({R0kvv, report::overpressure(5, R0kvv)}));

    // Model IV: a stored complex calculation, the calculator at 5 kPa as its screen runs it.
    {
        auto store = test::openStore(dir.path());
        const auto c = records::createCalculation(*store, QStringLiteral("Установка"), records::Kind::Complex);
        records::saveComplexRows(*store, c.id, {{QStringLiteral("Колонна"), 120e6, 0, 0, 0, 0, 0, 2500}});
    }
    const double R0kr = json(dir.path(), {"model4", "Установка"})["R0"].toDouble();
    json(dir.path(), {"zone-map", "--model4", "Установка", "--out", file("m4.png")});
    EXPECT_EQ(contents(file("m4.png")), report::zoneMapPng({R0kr, report::overpressure(5, R0kr)}));

    // Model III without charges: the picture that says there are no zones.
    json(dir.path(), {"zone-map", "--model3", "--wt0", "0", "--wt1", "0", "--formula", "22.1", "--out", file("m3.png")});
    EXPECT_EQ(contents(file("m3.png")), report::zoneMapPng({0, {}}));
}

TEST(CliZoneMap, BadArgumentsAreStatus1AndRunNothing)
{
    test::TempFolder dir;
    const QStringList bad[] = {
        {"zone-map", kExample},
        {"zone-map", kExample, "--out", dir.file("карта.docx")},
        {"zone-map", kExample, "--out", dir.file("карта.png"), "--pressure", "x"},
        {"zone-map", "--model2", "--mass", "100", "--out", dir.file("карта.png")},
        {"zone-map", "--model3", "--wt0", "1", "--wt1", "1", "--formula", "22.1", "--out", dir.file("карта.txt")},
        {"zone-map", "Нет такого", "--out", dir.file("карта.png")},
        {"zone-map", "--model4", "Нет такого", "--out", dir.file("карта.png")},
        {"zone-map", "--model4", "--out", dir.file("карта.png")},
    };
    for (const QStringList& args : bad) {
        const auto r = test::runCli(dir.path(), args);
        EXPECT_EQ(r.status, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
    }
    const auto wrongType = test::runCli(dir.path(), bad[1]);
    EXPECT_TRUE(wrongType.err.contains(QStringLiteral("расширение .png или .svg"))) << wrongType.err.toStdString();
    EXPECT_EQ(journalRows(dir.path()), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList({"карта*"}, QDir::Files).isEmpty());
}
