#pragma once

#include "calc/engine.h"
#include "calc/run_inputs.h"
#include "db/store.h"
#include "records/blocks.h"
#include "records/calculations.h"
#include "records/directories.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

namespace veltron::records {

// The general conditions of the spill and the environment as the input
// screen shows them: every field as its text, every box as ticked. The
// members carry the names of the screen's controls. The run compares Zet and
// S_G as texts; reports print the texts as shown.
struct ConditionTexts {
    QString Name_poverhn;  // the surface chosen in the list (Combo4)
    // Data of that surface.
    QString Koef_teplopr = QStringLiteral("0");  // heat conductivity, W/(m·K)
    QString c = QStringLiteral("0");             // heat capacity, kJ/(kg·K)
    QString p = QStringLiteral("0");             // density, kg/m³
    QString t_kontakt = QStringLiteral("0");
    QString S_kontakt = QStringLiteral("0");
    QString S_G = QStringLiteral("0");
    bool Check1 = false;  // formula 13.1: use the mirror area
    QString Tempv = QStringLiteral("20");
    QString Tempp = QStringLiteral("20");
    QString txtTg = QStringLiteral("20");
    bool Option3 = true;  // outdoors ("вне помещения"); false: in a room (Option4)
    QString txtNyu = QStringLiteral("1");
    QString Zet = QStringLiteral("0,1");
    // Saturated vapour pressure typed by hand at the block temperature and
    // at the design temperature of the spill.
    bool Check3 = false;
    QString txtPn = QStringLiteral("0");
    bool Check4 = false;
    QString txtPn1 = QStringLiteral("0");
    // Formula 15: evaporation time with the drift of the cloud.
    bool Check2 = false;
    QString txtLnkpr = QStringLiteral("20");
    QString txtUv = QStringLiteral("1");

    bool operator==(const ConditionTexts&) const = default;
};

// Caption of the air-temperature field, which follows the space type.
QString airTemperatureCaption(bool outdoors);

// Everything the input screen of model I holds for one calculation, as one
// value: what a run, the results screen and the reports read. It is built
// from the records when the calculation opens; the input screen hands it
// over read back from its controls.
struct CalculationInputs {
    Calculation calculation;
    ConditionTexts conditions;
    // The run settings with the flags and values of the entered masses.
    calc::RunSettings settings;
    // The blocks as the block grids show them: the main block (Id 1) and
    // the adjacent blocks in grid order. A block carries its own entered
    // masses (G1/znG1, G2/znG2, mi/pmi).
    std::optional<Block> main;
    QList<Block> adjacent;

    bool operator==(const CalculationInputs&) const = default;
};

// The general conditions as the input screen shows them after loading the
// stored ones: numbers in their shortest text, the boxes of the stored
// flags, the surface data of `surface` ("0" each when it is not in the
// directory).
ConditionTexts conditionTexts(const Conditions& stored, const std::optional<Surface>& surface);

// What opening the input screen on a calculation shows: the general
// conditions of its tabMain row (those of a new calculation when it has
// none), its stored run settings and its blocks. The store remembers the
// calculation as opened (rememberOpened). Store failures throw
// db::StoreError, and so does a stored number of the calculation, its
// blocks or its surface that is not a number, naming it.
CalculationInputs loadCalculationInputs(const db::Store& store, const Calculation& calculation);

// The same for a run without the input screen: the inputs, or, for a
// calculation the input screen could not run (no tabMain row, a surface that
// is not in the directory, no main block with a substance, a stored number
// that is not a number), the message the user gets instead.
using RunnableInputs = std::variant<CalculationInputs, calc::Stop>;
RunnableInputs loadRunnableInputs(const db::Store& store, const Calculation& calculation);

// The same for many calculations, reading the store in a few large queries
// (two for every 500 calculations): calls each(i, inputs) for every
// calculations[i], in the order of the list.
void loadRunnableInputs(const db::Store& store, const QList<Calculation>& calculations,
                        const std::function<void(qsizetype, const RunnableInputs&)>& each);

// The fields of the general conditions that a run reads as numbers.
enum class ConditionField {
    Zet, S_G, S_kontakt, t_kontakt, Tempv, txtTg, Tempp, c, p, Koef_teplopr, txtNyu, txtUv, txtLnkpr, txtPn, txtPn1
};

// A field whose text is not a number, with the caption a message names it by.
struct NotANumber {
    ConditionField field;
    QString caption;
};

// The engine's inputs: the numbers of the general conditions (formula 15's
// distance and speed only when it is chosen, a typed pressure only when its
// box is ticked), Zet and S_G also as texts, the run settings and the
// blocks. A run needs the main block; without one the engine gets an empty
// main block.
std::variant<calc::RunInputs, NotANumber> runInputsOf(const CalculationInputs& inputs);

// The message of a field that is not a number, as a run shows it.
calc::Stop inputError(const NotANumber& bad);

// A run of loaded inputs without the input screen, as if the user confirmed
// every question: a refusal, a field that is not a number or a substance
// whose stored data are not numbers stops it with the message the user
// would get.
calc::RunOutcome runLoaded(const RunnableInputs& loaded, const calc::Reference& reference,
                           const std::function<void()>& appendJournalRow = {});

// A block record as the engine takes it.
calc::BlockData toBlockData(const Block& block);

}  // namespace veltron::records
