#include "report/zone_map.h"

#include "calc/number_text.h"
#include "report/docx/docx_error.h"
#include "report/format.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace veltron::report {

namespace {

constexpr int kCalculatorZone = 5;

// How each zone is drawn. The line styles and the lightness of the tints
// differ from zone to zone, so that the zones stay apart in black-and-white
// print: the tints grow lighter from R1 out to R5.
struct ZoneStyle {
    QColor pen;
    QColor fill;
    Qt::PenStyle line;
    double widthPt;
};

const ZoneStyle& zoneStyle(int zone)
{
    static const ZoneStyle styles[] = {
        {QColor(0xb0, 0x00, 0x00), QColor(0xee, 0x8f, 0x8f), Qt::SolidLine, 2.2},
        {QColor(0xa8, 0x3c, 0x00), QColor(0xf6, 0xbb, 0x86), Qt::DashLine, 1.6},
        {QColor(0x6e, 0x56, 0x00), QColor(0xf5, 0xdc, 0x8a), Qt::DotLine, 1.8},
        {QColor(0x1a, 0x44, 0x96), QColor(0xdc, 0xe9, 0xf8), Qt::DashDotLine, 1.4},
        {QColor(0x23, 0x5e, 0x27), QColor(0xf2, 0xf8, 0xf0), Qt::DashDotDotLine, 1.4},
        {QColor(0x00, 0x00, 0x00), QColor(), Qt::SolidLine, 0.9},
    };
    return styles[std::clamp(zone, 0, kCalculatorZone)];
}

QPen zonePen(int zone, double pt)
{
    const ZoneStyle& s = zoneStyle(zone);
    return QPen(s.pen, s.widthPt * pt, s.line, Qt::FlatCap);
}

QFont mapFont(double pt)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(std::lround(8.5 * pt))));
    return font;
}

// The class of zone i as the legend names it: the grid's text without its unit.
QString className(int zone)
{
    QString name = zoneRows()[std::size_t(zone)][0];
    if (name.endsWith(QStringLiteral(", м")))
        name.chop(3);
    return name;
}

// Where a label stands against the point of its circle: its box as offsets
// from that point, for a box of w × h, and the direction of the point from
// the centre. The five zones take different rays, so that the labels of
// neighbouring circles do not meet near the centre.
struct Placement {
    double dx, dy;  // unit vector from the centre, y downwards
    double left, right, top, bottom;
};

Placement placement(int zone, double w, double h)
{
    const double d = std::sqrt(0.5);
    switch (zone) {
    case 0: return {0, -1, -w / 2, w / 2, -h, 0};  // R1 above the centre
    case 1: return {-d, d, -w, 0, 0, h};           // R2 lower left
    case 2: return {d, d, 0, w, 0, h};             // R3 lower right
    case 3: return {-d, -d, -w, 0, -h, 0};         // R4 upper left
    case 4: return {d, -d, 0, w, -h, 0};           // R5 upper right
    default: return {-1, 0, -w, 0, -h / 2, h / 2}; // the calculator's zone to the left
    }
}

struct Sized {
    int zone;
    double metres;
    QString text;
    double w, h;
};

// The largest scale (pixels per metre) at which every circle and every
// label of `circles` lies inside a rectangle of half-sizes hw × hh around
// the centre. The last of `circles` is the outer one. Labels that would
// shrink the circles below half the room they have are let out of the
// rectangle instead.
double fittingScale(const std::vector<Sized>& circles, double hw, double hh, double pad)
{
    const double room = std::max(std::min(hw, hh) - pad, 1.0) / circles.back().metres;
    double scale = room;
    for (const Sized& c : circles) {
        const Placement p = placement(c.zone, c.w, c.h);
        const auto limit = [&](double direction, double offset, double bound) {
            // c.metres · scale · direction + offset must stay within bound.
            if (direction > 1e-9)
                scale = std::min(scale, (bound - offset) / (c.metres * direction));
        };
        limit(p.dx, p.right, hw);
        limit(-p.dx, -p.left, hw);
        limit(p.dy, p.bottom, hh);
        limit(-p.dy, -p.top, hh);
    }
    return std::max(scale, room / 2);
}

// The largest 1, 2 or 5 × 10^k metres not above `most`.
double roundMetres(double most)
{
    const double base = std::pow(10.0, std::floor(std::log10(most)));
    for (double m : {5.0, 2.0, 1.0})
        if (m * base <= most * (1 + 1e-9))
            return m * base;
    return base;
}

void requireGui()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        throw docx::DocxError(
            QStringLiteral("Рисунок зон разрушения нельзя нарисовать: программа запущена без графической подсистемы."));
}

}  // namespace

QColor zoneColor(int zone)
{
    return zoneStyle(zone).pen;
}

QString zoneMapCaption()
{
    return QStringLiteral("Рисунок — Зоны разрушения");
}

namespace {

// The map with its legend under the drawing or to its right; a short legend
// names the radii only, for maps too small for the class names.
ZoneMapLayout layOut(const ZoneMapData& data, const QRectF& inner, double pt, bool legendRight, bool shortLegend)
{
    ZoneMapLayout L;
    const double gap = 4 * pt;
    const QFontMetricsF fm(mapFont(pt));
    const double lineHeight = fm.height();
    const double boxPad = 1.5 * pt;
    const calc::ZoneRadii radii = calc::zoneRadii(data.R0);
    std::vector<Sized> sized;
    for (int i = 0; i < 5; ++i) {
        const QString text = QStringLiteral("R%1 = %2 м").arg(i + 1).arg(FormatResult(radii[std::size_t(i)]));
        sized.push_back({i, radii[std::size_t(i)], text, fm.horizontalAdvance(text) + 2 * boxPad,
                         lineHeight + 2 * boxPad});
    }
    std::optional<Sized> calculator;
    if (data.calculator && data.calculator->radius > 0) {
        const QString text =
            data.calculator->txtP + QStringLiteral(" кПа: ") + data.calculator->txtX + QStringLiteral(" м");
        calculator = Sized{kCalculatorZone, data.calculator->radius, text, fm.horizontalAdvance(text) + 2 * boxPad,
                           lineHeight + 2 * boxPad};
    }

    // Circles smaller than this are not drawn; the legend names them.
    const double smallest = 3 * pt;
    const double swatchWidth = 24 * pt;
    const double legendWidth = !legendRight ? inner.width()
                               : shortLegend ? std::min(0.42 * inner.width(), 40 * pt + swatchWidth + gap)
                                             : 0.42 * inner.width();
    const double textWidth = std::max(legendWidth - swatchWidth - gap, 20 * pt);
    const double barBand = 3 * pt + 2 * pt + lineHeight + gap;
    std::array<bool, 6> drawn{true, true, true, true, true, true};
    for (int pass = 0; pass < 4; ++pass) {
        // One legend entry a zone, its text wrapped.
        std::vector<ZoneMapLayout::LegendEntry> legend;
        double legendHeight = 0;
        const auto entry = [&](int zone, QString text) {
            if (!drawn[std::size_t(zone)])
                text += QStringLiteral(" (мала для масштаба рисунка)");
            const QRectF box = fm.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, text);
            legend.push_back({zone, text, QRectF(), QRectF(0, legendHeight, textWidth, box.height())});
            legendHeight += box.height() + 1.5 * pt;
        };
        for (int i = 0; i < 5; ++i)
            entry(i, shortLegend ? QStringLiteral("R%1").arg(i + 1)
                                 : QStringLiteral("R%1 = %2 м — %3")
                                       .arg(i + 1)
                                       .arg(FormatResult(radii[std::size_t(i)]), className(i)));
        if (calculator)
            entry(kCalculatorZone, shortLegend ? data.calculator->txtP + QStringLiteral(" кПа")
                                               : QStringLiteral("R = %1 м — %2")
                                                     .arg(data.calculator->txtX, data.calculator->row6[0]));

        QRectF drawing = inner;
        QPointF legendAt;
        if (legendRight) {
            drawing.setRight(inner.right() - legendWidth - gap);
            legendAt = QPointF(inner.right() - legendWidth, inner.top() + std::max(0.0, (inner.height() - legendHeight) / 2));
        } else {
            drawing.setBottom(inner.bottom() - legendHeight - gap);
            legendAt = QPointF(inner.left(), inner.bottom() - legendHeight);
        }
        for (auto& e : legend) {
            e.textBox.translate(legendAt + QPointF(swatchWidth + gap, 0));
            e.swatch = QRectF(legendAt.x(), e.textBox.top() + 0.15 * lineHeight, swatchWidth, 0.7 * lineHeight);
        }
        L.legend = std::move(legend);
        L.area = QRectF(drawing.left(), drawing.top(), std::max(drawing.width(), 1.0),
                        std::max(drawing.height() - barBand, 1.0));
        L.centre = L.area.center();

        std::vector<Sized> fitted;
        for (const Sized& s : sized)
            if (drawn[std::size_t(s.zone)])
                fitted.push_back(s);
        if (calculator)
            fitted.push_back(*calculator);
        const double outer = std::max(radii[4], calculator ? calculator->metres : 0.0);
        fitted.push_back({-1, outer, QString(), 0, 0});  // the outer circle, whatever is drawn
        L.pixelsPerMetre = fittingScale(fitted, L.area.width() / 2, L.area.height() / 2, 2.5 * pt);
        if (legendRight && legendHeight > inner.height())
            L.pixelsPerMetre = 0;  // the legend does not fit beside the drawing

        std::array<bool, 6> now = drawn;
        for (const Sized& s : sized)
            now[std::size_t(s.zone)] = s.metres * L.pixelsPerMetre >= smallest;
        if (calculator)
            now[kCalculatorZone] = calculator->metres * L.pixelsPerMetre >= smallest;
        if (now == drawn)
            break;
        drawn = now;
    }

    const auto circle = [&](const Sized& s) {
        ZoneMapLayout::Circle c;
        c.zone = s.zone;
        c.metres = s.metres;
        c.pixels = s.metres * L.pixelsPerMetre;
        c.drawn = drawn[std::size_t(s.zone)];
        const Placement p = placement(s.zone, s.w, s.h);
        c.label.text = s.text;
        c.label.anchor = L.centre + QPointF(p.dx, p.dy) * c.pixels;
        c.label.box = QRectF(c.label.anchor + QPointF(p.left, p.top), QSizeF(s.w, s.h));
        return c;
    };
    for (const Sized& s : sized)
        L.circles.push_back(circle(s));
    if (calculator)
        L.calculator = circle(*calculator);

    if (L.pixelsPerMetre > 0) {
        L.barMetres = roundMetres(0.4 * L.area.width() / L.pixelsPerMetre);
        L.barPixels = L.barMetres * L.pixelsPerMetre;
    }
    L.barOrigin = QPointF(L.area.left() + 2 * pt, L.area.bottom() + gap);
    L.barText = calc::numberText(L.barMetres) + QStringLiteral(" м");
    return L;
}

}  // namespace

ZoneMapLayout layOutZoneMap(const ZoneMapData& data, const QSizeF& size, double pt)
{
    const double margin = 6 * pt;
    const QRectF inner = QRectF(QPointF(0, 0), size).adjusted(margin, margin, -margin, -margin);
    if (!(data.R0 > 0) || !std::isfinite(data.R0)) {
        ZoneMapLayout L;
        L.noZones = true;
        L.message = QStringLiteral("Зон разрушения нет: радиусы всех зон равны 0 м.");
        L.area = inner;
        L.centre = inner.center();
        return L;
    }
    // The legend goes where it leaves the circles more room: under them on a
    // tall or square picture, beside them on a wide one. The class names
    // give way to the radii alone only where they would squeeze the circles
    // to less than half of what a short legend leaves.
    const auto larger = [](ZoneMapLayout a, ZoneMapLayout b) {
        return b.pixelsPerMetre > 1.1 * a.pixelsPerMetre ? b : a;
    };
    ZoneMapLayout full = larger(layOut(data, inner, pt, false, false), layOut(data, inner, pt, true, false));
    ZoneMapLayout brief = larger(layOut(data, inner, pt, false, true), layOut(data, inner, pt, true, true));
    return full.pixelsPerMetre >= 0.5 * brief.pixelsPerMetre ? full : brief;
}

void paintZoneMap(QPainter& painter, const ZoneMapData& data, const QSizeF& size, double pt)
{
    const ZoneMapLayout L = layOutZoneMap(data, size, pt);
    QPainter& p = painter;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    const QFont font = mapFont(pt);
    p.setFont(font);

    if (L.noZones) {
        p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.8 * pt, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(L.area);
        p.setPen(Qt::black);
        p.drawText(L.area.adjusted(6 * pt, 6 * pt, -6 * pt, -6 * pt), Qt::AlignCenter | Qt::TextWordWrap, L.message);
        p.restore();
        return;
    }

    // Tinted discs from the outer zone in, so that each ring keeps its tint,
    // then the outlines over them.
    for (auto it = L.circles.rbegin(); it != L.circles.rend(); ++it)
        if (it->drawn) {
            p.setPen(Qt::NoPen);
            p.setBrush(zoneStyle(it->zone).fill);
            p.drawEllipse(L.centre, it->pixels, it->pixels);
        }
    p.setBrush(Qt::NoBrush);
    for (auto it = L.circles.rbegin(); it != L.circles.rend(); ++it)
        if (it->drawn) {
            p.setPen(zonePen(it->zone, pt));
            p.drawEllipse(L.centre, it->pixels, it->pixels);
        }
    if (L.calculator && L.calculator->drawn) {
        p.setPen(zonePen(kCalculatorZone, pt));
        p.drawEllipse(L.centre, L.calculator->pixels, L.calculator->pixels);
    }

    // The block at the centre.
    p.setPen(QPen(Qt::black, 0.8 * pt));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(L.centre - QPointF(1.6 * pt, 1.6 * pt), QSizeF(3.2 * pt, 3.2 * pt)));

    // The radius on each circle, in a white box that touches the circle.
    const auto label = [&](const ZoneMapLayout::Circle& c) {
        if (!c.drawn)
            return;
        const QColor color = zoneStyle(c.zone).pen;
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(c.label.anchor, 1.4 * pt, 1.4 * pt);
        p.setPen(QPen(color, 0.6 * pt));
        p.setBrush(QColor(255, 255, 255, 235));
        p.drawRect(c.label.box);
        p.setPen(color);
        p.drawText(c.label.box, Qt::AlignCenter, c.label.text);
    };
    for (const auto& c : L.circles)
        label(c);
    if (L.calculator)
        label(*L.calculator);

    // The scale bar: two halves, black and white, ends marked with metres.
    const double barHeight = 3 * pt;
    const QRectF bar(L.barOrigin, QSizeF(L.barPixels, barHeight));
    p.setPen(QPen(Qt::black, 0.6 * pt));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(bar.topLeft(), QSizeF(bar.width() / 2, barHeight)));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(bar.topLeft() + QPointF(bar.width() / 2, 0), QSizeF(bar.width() / 2, barHeight)));
    const QFontMetricsF fm(font);
    const double textTop = bar.bottom() + 2 * pt;
    p.drawText(QRectF(bar.left() - 20 * pt, textTop, 40 * pt, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("0"));
    const double textWidth = fm.horizontalAdvance(L.barText) + 2 * pt;
    p.drawText(QRectF(bar.right() - textWidth / 2, textTop, textWidth, fm.height()), Qt::AlignHCenter | Qt::AlignTop,
               L.barText);

    // The legend: a sample of each line on its tint, then the text.
    for (const auto& e : L.legend) {
        p.setPen(Qt::NoPen);
        p.setBrush(e.zone == kCalculatorZone ? QColor(Qt::white) : zoneStyle(e.zone).fill);
        p.drawRect(e.swatch);
        p.setPen(zonePen(e.zone, pt));
        const double y = e.swatch.center().y();
        p.drawLine(QPointF(e.swatch.left(), y), QPointF(e.swatch.right(), y));
        p.setPen(Qt::black);
        p.drawText(e.textBox, Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, e.text);
    }
    p.restore();
}

QSizeF zoneMapSizeMm(const ZoneMapData& data)
{
    return {160, data.R0 > 0 && std::isfinite(data.R0) ? 130.0 : 25.0};
}

QByteArray zoneMapPng(const ZoneMapData& data)
{
    requireGui();
    const QSizeF sizeMm = zoneMapSizeMm(data);
    const double dpi = kZoneMapDpi;
    const QSize pixels(int(std::lround(sizeMm.width() / 25.4 * dpi)), int(std::lround(sizeMm.height() / 25.4 * dpi)));
    QImage image(pixels, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintZoneMap(painter, data, QSizeF(pixels), dpi / 72);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray zoneMapSvg(const ZoneMapData& data)
{
    requireGui();
    const QSizeF sizeMm = zoneMapSizeMm(data);
    // SVG user units are CSS pixels, 96 to the inch.
    const double dpi = 96;
    const QSize pixels(int(std::lround(sizeMm.width() / 25.4 * dpi)), int(std::lround(sizeMm.height() / 25.4 * dpi)));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(pixels);
    generator.setViewBox(QRect(QPoint(0, 0), pixels));
    generator.setResolution(int(dpi));
    generator.setTitle(zoneMapCaption());
    {
        QPainter painter(&generator);
        paintZoneMap(painter, data, QSizeF(pixels), dpi / 72);
    }
    return bytes;
}

}  // namespace veltron::report
