#pragma once

// The map of the destruction zones: R1 … R5 as concentric circles around the
// block, with the zone of the overpressure calculator when it was used, a
// scale bar and a legend with the class names of the zone grid. One drawing
// serves the results screens, the PNG and SVG files and the report picture:
// it paints onto any QPainter, sized in the device's pixels.

#include "calc/zones.h"
#include "report/zone_table.h"

#include <QByteArray>
#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace veltron::report {

// What the map shows: the zones of a run with the reduced radius R0 and the
// calculator's last result for that run, if any.
struct ZoneMapData {
    double R0 = 0;
    std::optional<Overpressure> calculator;
};

// Where everything of the map stands on a device of the given size. `pt` is
// the number of device pixels in one typographic point; line widths, texts
// and gaps are sized in points, the circles by the scale.
struct ZoneMapLayout {
    struct Label {
        QString text;
        QRectF box;     // the text's box, beside its circle
        QPointF anchor; // the point of the circle the box touches
    };
    struct Circle {
        int zone = 0;        // 0 … 4 for R1 … R5, 5 for the calculator's zone
        double metres = 0;
        double pixels = 0;   // metres × pixelsPerMetre
        bool drawn = false;  // false: too small for the scale, named in the legend only
        Label label;
    };
    struct LegendEntry {
        int zone = 0;
        QString text;
        QRectF swatch;
        QRectF textBox;
    };

    bool noZones = false;  // every radius is 0: the picture says so
    QString message;       // the text of that picture
    QRectF area;           // the part where the circles are drawn
    QPointF centre;        // the block
    double pixelsPerMetre = 0;
    std::vector<Circle> circles;      // R1 … R5, ascending
    std::optional<Circle> calculator; // the zone of the calculator's pressure
    double barMetres = 0;             // the scale bar: a round number of metres
    double barPixels = 0;             // barMetres × pixelsPerMetre
    QPointF barOrigin;                // left end of the bar
    QString barText;
    std::vector<LegendEntry> legend;
};

ZoneMapLayout layOutZoneMap(const ZoneMapData& data, const QSizeF& size, double pt);

// Paints the map into the rectangle (0, 0, size) of the painter's device.
void paintZoneMap(QPainter& painter, const ZoneMapData& data, const QSizeF& size, double pt);

// Pen colour of each zone (0 … 4) and of the calculator's zone (5).
QColor zoneColor(int zone);

// The size of the map in files and reports, millimetres: 160 × 130, or a
// strip of 160 × 25 that only says there are no zones.
QSizeF zoneMapSizeMm(const ZoneMapData& data);
inline constexpr double kZoneMapDpi = 300;

// The map as files of that size: PNG at 300 dpi (the file records it), SVG.
// Painting text needs the GUI part of Qt (a QGuiApplication, e.g. on the
// offscreen platform); without it these throw docx::DocxError.
QByteArray zoneMapPng(const ZoneMapData& data);
QByteArray zoneMapSvg(const ZoneMapData& data);

// The caption under the map in the reports.
QString zoneMapCaption();

}  // namespace veltron::report
