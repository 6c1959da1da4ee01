#pragma once

#include "records/app_state.h"
#include "records/calculation_inputs.h"
#include "screens/input_source.h"

#include <QWidget>

#include <optional>

namespace veltron::test {

// Stands in for the input screen: it holds the current calculation as
// opening the input screen shows it, as the typed value, counts the saves
// and remembers the field it was asked to focus.
class FakeInput : public QWidget, public screens::InputSource {
public:
    explicit FakeInput(AppState& state) : state_(state)
    {
        setObjectName(QStringLiteral("frmInput"));
        value = records::loadCalculationInputs(state.db(), state.current);
    }

    QWidget* inputScreen() override { return this; }

    // The held value with the process-wide run settings, and the blocks as
    // the store holds them now, as the real screen's grids hold them after
    // every save of the block editor.
    records::CalculationInputs inputs() const override
    {
        records::CalculationInputs in = value;
        const records::CalculationInputs stored = records::loadCalculationInputs(state_.db(), state_.current);
        in.main = stored.main;
        in.adjacent = stored.adjacent;
        in.settings = state_.runSettings;
        return in;
    }
    bool saveInputs() override
    {
        ++saves;
        return true;
    }
    void focusField(records::ConditionField field) override { focused = field; }
    void setZet(const QString& zet) override { value.conditions.Zet = zet; }
    void setAirTemperatureAndNyu(const QString& tempv, const QString& nyu) override
    {
        value.conditions.Tempv = tempv;
        value.conditions.txtNyu = nyu;
    }

    records::CalculationInputs value;
    int saves = 0;
    std::optional<records::ConditionField> focused;

private:
    AppState& state_;
};

}  // namespace veltron::test
