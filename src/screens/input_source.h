#pragma once

#include "records/calculation_inputs.h"

#include <QString>

class QWidget;

namespace veltron::screens {

// The input screen of model I as the screens it opens see it: the run
// request, the z dialog and the evaporation-intensity calculator read its
// inputs as one typed value and hand their results back through it, never
// through its controls.
class InputSource {
public:
    virtual ~InputSource() = default;

    // The window that hides while a screen opened from it is in front.
    virtual QWidget* inputScreen() = 0;

    // What the screen holds now, with the process-wide run settings.
    virtual records::CalculationInputs inputs() const = 0;

    // "Сохранить исходные данные": false, with the reason shown, when nothing was stored.
    virtual bool saveInputs() = 0;

    // Puts the focus into a field of the general conditions.
    virtual void focusField(records::ConditionField field) = 0;

    // What the z dialog hands back.
    virtual void setZet(const QString& zet) = 0;
    // What the evaporation-intensity calculator hands back.
    virtual void setAirTemperatureAndNyu(const QString& tempv, const QString& nyu) = 0;
};

}  // namespace veltron::screens
