// The map of the destruction zones: where its parts stand, what it paints,
// its files and its place in the reports.
#include "common/test_support.h"
#include "docx/docx_fixture.h"
#include "report/appendix_report.h"
#include "report/complex_report.h"
#include "report/docx/package.h"
#include "report/format.h"
#include "report/summary_report.h"
#include "report/unstable_report.h"
#include "report/zone_map.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QLineF>
#include <QPainter>

#include <cmath>

using namespace veltron;
using report::ZoneMapData;
using report::ZoneMapLayout;

namespace {

// R0 of the example calculation «Пример — резервуар пропана» that every new
// store holds.
constexpr double kPropaneR0 = 20.599080149594506;

constexpr double kScreenPt = 96.0 / 72;
constexpr double kPrintPt = 300.0 / 72;

bool isRoundMetres(double metres)
{
    const double mantissa = metres / std::pow(10.0, std::floor(std::log10(metres)));
    return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9;
}

QImage painted(const ZoneMapData& data, const QSize& size, double pt)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    report::paintZoneMap(painter, data, QSizeF(size), pt);
    return image;
}

// The class of a zone as the grid names it, without its unit.
QString gridClass(int zone)
{
    return report::zoneRows()[std::size_t(zone)][0].chopped(3);
}

}  // namespace

TEST(ZoneMap, PropaneExampleHasFiveAscendingCirclesAndAScaleBarAsLongAsItsMetres)
{
    const ZoneMapData data{kPropaneR0, {}};
    const calc::ZoneRadii radii = calc::zoneRadii(kPropaneR0);
    // A map on a screen, a wide one with the legend beside it, and the report
    // picture at print resolution.
    const struct {
        QSize size;
        double pt;
    } devices[] = {{{480, 420}, kScreenPt}, {{660, 260}, kScreenPt}, {{1890, 1535}, kPrintPt}};
    for (const auto& d : devices) {
        SCOPED_TRACE(d.size.width());
        const ZoneMapLayout L = report::layOutZoneMap(data, QSizeF(d.size), d.pt);
        ASSERT_FALSE(L.noZones);
        ASSERT_EQ(L.circles.size(), 5u);
        EXPECT_FALSE(L.calculator);
        for (std::size_t i = 0; i < 5; ++i) {
            const auto& c = L.circles[i];
            EXPECT_EQ(c.zone, int(i));
            EXPECT_EQ(c.metres, radii[i]);
            EXPECT_DOUBLE_EQ(c.pixels, c.metres * L.pixelsPerMetre);
            EXPECT_TRUE(c.drawn);
            if (i > 0)
                EXPECT_GT(c.pixels, L.circles[i - 1].pixels);
            // The radius is written on its circle, inside the picture, clear
            // of the other radii.
            EXPECT_TRUE(c.label.text.contains(report::FormatResult(radii[i])));
            EXPECT_NEAR(QLineF(L.centre, c.label.anchor).length(), c.pixels, 1e-6);
            EXPECT_TRUE(L.area.contains(c.label.box)) << i;
            for (std::size_t j = 0; j < i; ++j)
                EXPECT_FALSE(c.label.box.intersects(L.circles[j].label.box)) << i << " " << j;
        }
        // The outer zone fits.
        EXPECT_LE(L.circles[4].pixels, std::min(L.area.width(), L.area.height()) / 2);
        EXPECT_GT(L.circles[4].pixels, 0.25 * std::min(L.area.width(), L.area.height()));

        EXPECT_TRUE(isRoundMetres(L.barMetres)) << L.barMetres;
        EXPECT_DOUBLE_EQ(L.barPixels, L.barMetres * L.pixelsPerMetre);
        EXPECT_GT(L.barPixels, 0.15 * L.area.width());
        EXPECT_LE(L.barPixels, 0.4 * L.area.width());
        EXPECT_EQ(L.barText, QStringLiteral("%1 м").arg(L.barMetres));

        ASSERT_EQ(L.legend.size(), 5u);
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_TRUE(L.legend[i].text.contains(gridClass(int(i)))) << L.legend[i].text.toStdString();
            EXPECT_TRUE(L.legend[i].text.contains(report::FormatResult(radii[i])));
            EXPECT_FALSE(L.legend[i].textBox.intersects(L.area));
        }

        // The bar painted is the bar laid out: along its middle it runs from
        // its black half on the left to the outline that closes its white
        // half on the right.
        const QImage image = painted(data, d.size, d.pt);
        const int y = int(L.barOrigin.y() + 1.5 * d.pt);
        int left = -1;
        int right = -1;
        for (int x = 0; x < int(L.area.right()); ++x) {
            const int grey = qGray(image.pixel(x, y));
            if (grey < 128 && left < 0)
                left = x;
            if (grey < 240)
                right = x;
        }
        EXPECT_NEAR(left, L.barOrigin.x(), d.pt);
        EXPECT_NEAR(right - left, L.barPixels, d.pt);

        // In black-and-white print the zones stay apart: each ring is lighter
        // than the one inside it (read along the ray straight down, clear of
        // every label).
        if (d.pt == kPrintPt) {
            int inner = -1;
            for (std::size_t i = 0; i < 5; ++i) {
                const double r =
                    i == 0 ? L.circles[0].pixels / 2 : (L.circles[i - 1].pixels + L.circles[i].pixels) / 2;
                const int grey = qGray(image.pixel((L.centre + QPointF(0, r)).toPoint()));
                EXPECT_GT(grey, inner + 8) << "zone " << i + 1;
                EXPECT_LT(grey, 250) << "zone " << i + 1;
                inner = grey;
            }
        }
    }
}

TEST(ZoneMap, TheCalculatorsZoneIsOneMoreCircleWithItsLegendEntry)
{
    for (double P : {50.0, 2.0, 100.0}) {
        SCOPED_TRACE(P);
        const report::Overpressure o = report::overpressure(P, kPropaneR0);
        const ZoneMapLayout L = report::layOutZoneMap({kPropaneR0, o}, QSizeF(480, 420), kScreenPt);
        ASSERT_TRUE(L.calculator);
        EXPECT_EQ(L.calculator->metres, o.radius);
        EXPECT_DOUBLE_EQ(L.calculator->pixels, o.radius * L.pixelsPerMetre);
        EXPECT_TRUE(L.area.contains(L.calculator->label.box));
        EXPECT_TRUE(L.calculator->label.text.contains(o.txtX));
        ASSERT_EQ(L.legend.size(), 6u);
        EXPECT_EQ(L.legend[5].text, QStringLiteral("R = %1 м — %2").arg(o.txtX, o.row6[0]));
        EXPECT_LE(std::max(L.calculator->pixels, L.circles[4].pixels),
                  std::min(L.area.width(), L.area.height()) / 2);
    }
}

TEST(ZoneMap, AllZeroRadiiGiveTheNoZonesPicture)
{
    const ZoneMapData none{0, report::overpressure(5, 0)};
    const ZoneMapLayout L = report::layOutZoneMap(none, QSizeF(480, 420), kScreenPt);
    EXPECT_TRUE(L.noZones);
    EXPECT_TRUE(L.circles.empty());
    EXPECT_FALSE(L.calculator);
    EXPECT_TRUE(L.legend.empty());
    EXPECT_EQ(L.message, QStringLiteral("Зон разрушения нет: радиусы всех зон равны 0 м."));

    // A picture that says so, not an empty one.
    EXPECT_EQ(report::zoneMapSizeMm(none), QSizeF(160, 25));
    const QImage image = QImage::fromData(report::zoneMapPng(none));
    ASSERT_EQ(image.size(), QSize(1890, 295));
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 100;
    EXPECT_GT(dark, 100);
}

TEST(ZoneMap, InnerZonesTooSmallToDrawAreNamedInTheLegendOnly)
{
    const ZoneMapLayout L = report::layOutZoneMap({kPropaneR0, {}}, QSizeF(150, 900), kScreenPt);
    ASSERT_EQ(L.circles.size(), 5u);
    EXPECT_FALSE(L.circles[0].drawn);
    EXPECT_TRUE(L.circles[4].drawn);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(L.legend[i].text.contains(QStringLiteral("(мала для масштаба рисунка)")), !L.circles[i].drawn) << i;
}

TEST(ZoneMap, FilesHaveThePrintSize)
{
    const ZoneMapData data{kPropaneR0, report::overpressure(5, kPropaneR0)};
    EXPECT_EQ(report::zoneMapSizeMm(data), QSizeF(160, 130));
    const QImage png = QImage::fromData(report::zoneMapPng(data));
    EXPECT_EQ(png.size(), QSize(1890, 1535));
    EXPECT_EQ(png.dotsPerMeterX(), 11811);

    const QByteArray svg = report::zoneMapSvg(data);
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 605 491\""));
    EXPECT_TRUE(QString::fromUtf8(svg).contains(gridClass(4))) << "the legend is text in the SVG";
}

namespace {

struct MadeReport {
    const char* name;
    QByteArray bytes;
    double R5;
};

std::vector<MadeReport> reportsWithMaps()
{
    report::AppendixData appendix;
    appendix.result.R0 = kPropaneR0;
    appendix.result.Rzone = calc::zoneRadii(kPropaneR0);
    appendix.result.m = 19178.5;
    appendix.view = report::buildResultsView(appendix.result, {});
    appendix.z = 0.1;
    appendix.blockName = QStringLiteral("Резервуар");
    appendix.calculator = report::overpressure(5, kPropaneR0);
    appendix.row6 = appendix.calculator->row6;

    calc::UnstableCase u;
    u.mass = 100;
    u.energy = 4520;
    const calc::ZoneRun ur = std::get<calc::ZoneRun>(calc::runUnstable(u));
    calc::SummaryCase s;
    s.wt0 = s.wt1 = 100;
    const calc::ZoneRun sr = std::get<calc::ZoneRun>(calc::runSummary(s));
    calc::ComplexRun k;
    k.rows = {{QStringLiteral("Колонна"), 120e6, 0, 0, 0, 0, 0, 2500}};
    k.result = std::get<calc::ComplexResult>(calc::runComplex(k.rows));
    const report::Overpressure kFive = report::overpressure(5, k.result.R0);
    return {
        {"pril3", report::buildAppendixReport(appendix), calc::zoneRadii(kPropaneR0)[4]},
        {"kr", report::buildComplexReport(k, report::zoneTable(k.result.R0, kFive.row6), {k.result.R0, kFive}),
         k.result.Rzone[4]},
        {"tv", report::buildUnstableReport(u, ur, report::zoneTable(ur.R0), {ur.R0, {}}), ur.Rzone[4]},
        {"summ", report::buildSummaryReport(s, sr, report::zoneTable(sr.R0), {sr.R0, {}}), sr.Rzone[4]},
    };
}

}  // namespace

TEST(ZoneMapInReports, EachReportCarriesThePictureRightAfterItsZoneTable)
{
    test::TempFolder dir;
    for (const MadeReport& r : reportsWithMaps()) {
        SCOPED_TRACE(r.name);
        const QString path = dir.file(QString::fromLatin1(r.name) + ".docx");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(r.bytes);
        f.close();
        const docx::Package package = docx::Package::read(path, QStringLiteral("отчет"));

        // The image part: the map at print resolution.
        ASSERT_TRUE(package.has("word/media/image1.png"));
        const QImage image = QImage::fromData(package.part("word/media/image1.png"));
        ASSERT_EQ(image.size(), QSize(1890, 1535));

        // Referenced from the document through a relationship of its own.
        auto rels = test::parseXml(package.part("word/_rels/document.xml.rels"));
        const auto rel = rels->select_node("//Relationship[@Target='media/image1.png']").node();
        ASSERT_TRUE(rel);
        EXPECT_STREQ(rel.attribute("Type").value(),
                     "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image");
        auto types = test::parseXml(package.part("[Content_Types].xml"));
        EXPECT_EQ(types->select_nodes("//Default[@Extension='png'][@ContentType='image/png']").size(), 1u);

        const QByteArray xml = package.part("word/document.xml");
        EXPECT_EQ(test::soundnessProblems(xml), QStringList());
        auto doc = test::parseXml(xml);
        const auto blips = doc->select_nodes("//a:blip");
        ASSERT_EQ(blips.size(), 1u);
        EXPECT_STREQ(blips.first().node().attribute("r:embed").value(), rel.attribute("Id").value());

        // The size on the page is the image's own at its resolution.
        const auto extent = doc->select_node("//wp:inline/wp:extent").node();
        const double cx = extent.attribute("cx").as_double();
        const double cy = extent.attribute("cy").as_double();
        EXPECT_EQ(cx, 160 * 36000);
        EXPECT_EQ(cy, 130 * 36000);
        const double emuPerPixel = 914400.0 / (image.dotsPerMeterX() * 0.0254);
        EXPECT_NEAR(cx, image.width() * emuPerPixel, emuPerPixel);
        EXPECT_NEAR(cy, image.height() * emuPerPixel, emuPerPixel);

        // Right after the zone table, with the caption under it.
        const pugi::xml_node picture = doc->select_node("//w:p[.//w:drawing]").node();
        pugi::xml_node before = picture.previous_sibling();
        while (before && before.type() != pugi::node_element)
            before = before.previous_sibling();
        ASSERT_STREQ(before.name(), "w:tbl");
        QString tableText;
        for (const auto& t : before.select_nodes(".//w:t"))
            tableText += QString::fromUtf8(t.node().text().get()) + "|";
        EXPECT_TRUE(tableText.contains(report::FormatResult(r.R5))) << tableText.toStdString();
        pugi::xml_node after = picture.next_sibling("w:p");
        QString caption;
        for (const auto& t : after.select_nodes(".//w:t"))
            caption += QString::fromUtf8(t.node().text().get());
        EXPECT_EQ(caption, QStringLiteral("Рисунок — Зоны разрушения"));
    }
}
