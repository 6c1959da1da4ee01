#pragma once

#include "calc/rasch_result.h"
#include "calc/reference.h"
#include "calc/run_inputs.h"

#include <QString>

#include <functional>
#include <variant>

namespace veltron::calc {

enum class StopIcon { None, Information, Warning, Error };

// A run that ends without results: the message box the user sees.
struct Stop {
    QString title;
    QString message;
    StopIcon icon = StopIcon::Error;
};

using RunOutcome = std::variant<RaschResult, Stop>;

inline bool succeeded(const RunOutcome& o) { return std::holds_alternative<RaschResult>(o); }

// Runs model I on confirmed inputs (the save question, the settings dialog and
// the final confirmation belong to the caller).
//
// appendJournalRow is called once, after the main-block checks and before the
// substances are looked up, so a run that stops later still leaves its
// journal row; a run stopped by the first checks does not call it. An
// exception thrown by it (or by the reference) ends the run and passes to the
// caller.
RunOutcome run(const RunInputs& inputs, const Reference& reference,
               const std::function<void()>& appendJournalRow = {});

// Why the evaporation intensity W of a result is 0, when formula 14.2 gave no
// saturated vapour pressure below the boiling point; empty otherwise. The
// screen, the reports and the command line show this text.
QString pnNote(const RaschResult& result);

// Titles and messages of the checks, shared with the screens that show them.
namespace text {
inline const QString kAttention = QStringLiteral("Внимание!");
inline const QString kAttentionSpaced = QStringLiteral("В н и м а н и е ! ! !");
inline const QString kZetMissing = QStringLiteral(
    "Уточните долю приведенной массы парогазовых веществ, участвующих во взрыве; z=?");
inline const QString kMirrorAreaMissing = QStringLiteral(
    "При выборе \"использовать значение площади поверхности зеркала жидкости для проведения "
    "экспертных оценок по ПБ 09-540-03 формула 13.1\" необходимо ввести площадь поверхности "
    "зеркала жидкости!");
inline const QString kMainAdiab = QStringLiteral("Показатель адиабаты вещества в блоке должен быть > 1!");
inline const QString kMainDavl = QStringLiteral("Давление в блоке должно быть > 0!");
inline const QString kMainMolMass = QStringLiteral("Молярная масса вещества в блоке должна быть > 0!");
inline const QString kAdjacentAdiab = QStringLiteral("Показатель адиабаты веществ в блоках должен быть > 1!");
inline const QString kAdjacentBelowAtm =
    QStringLiteral("Давление в смежном блоке меньше атмосферного (101.3 кПа).");
inline const QString kJournalConc = QStringLiteral("Полный расчет");
}  // namespace text

// The evaporation repetition of formula 12: time steps T = 1, 2, … with
// G4(T) = c4 × √T (0 without heat from the surface) and G5(T) = Fg × (T × W),
// ending after the first step where G5 + G4 ≥ R or where T + 1 ≥ n.
// Returns the counter (one past the last step) and the masses of that step.
struct SpillSteps {
    int Tau = 0;
    double G4 = 0;
    double G5 = 0;
};
SpillSteps evaporateFormula12(double c4, bool surfaceHeat, double Fg, double W, double R, int n,
                              bool stepByStep = false);

}  // namespace veltron::calc
