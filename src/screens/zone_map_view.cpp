#include "screens/zone_map_view.h"

#include "report/docx/docx_error.h"
#include "screens/zone_results.h"
#include "ui/dialogs.h"
#include "ui/report_file.h"

#include <QAction>
#include <QFileInfo>
#include <QPainter>

namespace veltron::screens {

namespace {

// The folder of the last map saved in this session; the next save dialog
// opens there.
QString& lastFolder()
{
    static QString folder;
    return folder;
}

}  // namespace

ZoneMap::ZoneMap(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ZoneMap"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    savePng = new QAction(QStringLiteral("Сохранить рисунок в PNG…"), this);
    savePng->setObjectName(QStringLiteral("mnuMapPng"));
    connect(savePng, &QAction::triggered, this, [this] { save(Format::Png); });
    saveSvg = new QAction(QStringLiteral("Сохранить рисунок в SVG…"), this);
    saveSvg->setObjectName(QStringLiteral("mnuMapSvg"));
    connect(saveSvg, &QAction::triggered, this, [this] { save(Format::Svg); });
    addAction(savePng);
    addAction(saveSvg);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void ZoneMap::setData(const std::optional<report::ZoneMapData>& data)
{
    data_ = data;
    update();
}

double ZoneMap::pointPixels() const
{
    return logicalDpiY() / 72.0;
}

report::ZoneMapLayout ZoneMap::currentLayout() const
{
    return report::layOutZoneMap(data_.value_or(report::ZoneMapData{}), QSizeF(size()), pointPixels());
}

// Wide by nature, no taller than needed: the map grows into whatever height
// the screen leaves, but never makes a scrolled page taller.
QSize ZoneMap::sizeHint() const
{
    return {480, 220};
}

QSize ZoneMap::minimumSizeHint() const
{
    return {340, 220};
}

void ZoneMap::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (data_) {
        report::paintZoneMap(painter, *data_, QSizeF(size()), pointPixels());
        return;
    }
    painter.fillRect(rect(), Qt::white);
    painter.setPen(Qt::darkGray);
    painter.drawText(rect().adjusted(12, 12, -12, -12), Qt::AlignCenter | Qt::TextWordWrap,
                     QStringLiteral("Карта зон разрушения появится после расчета."));
}

QString ZoneMap::save(Format format)
{
    const bool svg = format == Format::Svg;
    if (!data_) {
        showNoRunYet();
        return {};
    }
    const QString extension = svg ? QStringLiteral(".svg") : QStringLiteral(".png");
    QString path = ui::dialogs().saveFileName(
        QStringLiteral("Сохранение рисунка зон разрушения"), lastFolder(),
        svg ? QStringLiteral("Рисунок SVG (*.svg)") : QStringLiteral("Рисунок PNG (*.png)"));
    if (path.trimmed().isEmpty())
        return {};
    if (!path.endsWith(extension, Qt::CaseInsensitive))
        path += extension;
    // A picture goes through the check of every report file: never over a
    // pipe, a folder or a database, whatever the name or link chosen.
    if (const QString refused = db::reportTargetProblem(path, {}); !refused.isEmpty()) {
        ui::showSaveFailure(refused);
        return {};
    }
    QByteArray bytes;
    try {
        bytes = svg ? report::zoneMapSvg(*data_) : report::zoneMapPng(*data_);
    } catch (const docx::DocxError& e) {
        ui::dialogs().inform(QStringLiteral("Вельтрон"), e.message(), ui::Icon::Critical);
        return {};
    }
    if (const QString failure = db::writeReportFile(path, bytes, {}); !failure.isEmpty()) {
        ui::showSaveFailure(failure);
        return {};
    }
    lastFolder() = QFileInfo(path).absolutePath();
    return path;
}

}  // namespace veltron::screens
