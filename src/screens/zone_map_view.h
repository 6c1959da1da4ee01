#pragma once

#include "report/zone_map.h"

#include <QWidget>

#include <optional>

class QAction;

namespace veltron::screens {

// The map of the destruction zones on a results screen, drawn beside the
// zone grid from the same run. Its context menu saves the map as PNG or SVG
// at the size and resolution of the report picture.
class ZoneMap : public QWidget {
    Q_OBJECT
public:
    explicit ZoneMap(QWidget* parent = nullptr);

    // The zones to draw; before the first run there are none and the map
    // says so.
    void setData(const std::optional<report::ZoneMapData>& data);
    const std::optional<report::ZoneMapData>& data() const { return data_; }
    // Where everything stands as the map is drawn now (a run's zones only).
    report::ZoneMapLayout currentLayout() const;

    QAction* savePng;
    QAction* saveSvg;

    enum class Format { Png, Svg };
    // Asks for a file name in the save dialog and writes the map. A cancelled
    // dialog writes nothing; a failure is shown. Returns the path written.
    QString save(Format format);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double pointPixels() const;

    std::optional<report::ZoneMapData> data_;
};

}  // namespace veltron::screens
