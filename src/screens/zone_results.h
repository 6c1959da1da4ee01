#pragma once

#include "calc/zones.h"
#include "report/zone_map.h"
#include "report/zone_table.h"

#include <QWidget>

#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace veltron::screens {

class ZoneMap;

// The zones of a run as every results screen shows them: the grid tabZone
// with the five classes of destruction zones and their radii, the
// overpressure calculator under it, which writes row 6 of the grid, and the
// map of the same zones beside them, which follows the calculator.
class ZoneResults : public QWidget {
    Q_OBJECT
public:
    struct Options {
        // The calculator's button: "Command2" on the results screen of
        // model I, "Command5" on the others.
        QString buttonName = QStringLiteral("Command5");
        // Kint, Kstep and Kpol, the three approximations of K, on view.
        bool showCoefficients = true;
        // txtX before the first calculation.
        QString initialRadius;
        // Where the map stands: to the right of the grid and the calculator,
        // or apart, put by the screen into its own layout where the zones
        // stand in a narrow column.
        enum class MapPlace { Beside, Apart };
        MapPlace mapPlace = MapPlace::Beside;
    };
    explicit ZoneResults(const Options& options, QWidget* parent = nullptr);

    QLabel* Label29;
    QTableWidget* tabZone;
    QGroupBox* FrameCalc;
    QLineEdit* txtP;
    QPushButton* calculateButton;  // named by Options::buttonName
    QLineEdit* txtX;
    QLineEdit* Kint;
    QLineEdit* Kstep;
    QLineEdit* Kpol;
    ZoneMap* map;

    // The zones of a run with the reduced radius R0. Row 6 stays empty until
    // the calculator runs for this R0.
    void showZones(double R0);
    bool hasZones() const { return R0_.has_value(); }
    double R0() const { return R0_.value_or(0); }

    // "Расчет" of the calculator with the pressure in txtP. Refused, with a
    // message, before the first run and for a text that is not a number.
    bool calculate();
    // The last calculation for the zones on view.
    const std::optional<report::Overpressure>& overpressure() const { return overpressure_; }

    // What the grid shows, as the reports print it.
    report::ZoneTable table() const;
    // What the map draws: the zones on view and the calculator's last result.
    // Nothing before the first run.
    std::optional<report::ZoneMapData> mapData() const;

Q_SIGNALS:
    void zonesShown(double R0, const calc::ZoneRadii& radii);
    void overpressureCalculated(double P, double radius);

private:
    void fitGrid();

    std::optional<double> R0_;
    std::optional<report::Overpressure> overpressure_;
};

// The refusal of a report or a calculation asked for before the first run.
void showNoRunYet();

}  // namespace veltron::screens
