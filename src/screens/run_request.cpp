#include "screens/run_request.h"

#include "calc/engine.h"
#include "records/calculation_inputs.h"
#include "records/store_reference.h"
#include "screens/frmOutput.h"
#include "screens/frmSetup_rasch.h"
#include "screens/stop_message.h"
#include "screens/store_errors.h"
#include "ui/dialogs.h"

#include <QWidget>

namespace veltron::screens {

RunRequest::RunRequest(AppState& state, InputSource& input)
    : QObject(input.inputScreen()), state_(state), input_(input)
{
}

void RunRequest::request()
{
    const records::ConditionTexts c = input_.inputs().conditions;
    if (c.Zet == QLatin1String("0")) {
        ui::dialogs().inform(calc::text::kAttentionSpaced, calc::text::kZetMissing, ui::Icon::None);
        return;
    }
    if (c.Check1 && c.S_G == QLatin1String("0")) {
        ui::dialogs().inform(calc::text::kAttention, calc::text::kMirrorAreaMissing, ui::Icon::Critical);
        return;
    }
    if (!state_.settingsConfirmed) {
        const ui::Answer save = ui::dialogs().ask(calc::text::kAttentionSpaced,
                                                  QStringLiteral("Сохранить исходные данные для текущего расчета?"),
                                                  ui::Icon::Question, ui::Buttons::YesNo);
        if (save == ui::Answer::Yes)
            input_.saveInputs();
        openSettings(c.Check3 && c.Check4);
        return;
    }
    const ui::Answer go = ui::dialogs().ask(
        calc::text::kAttentionSpaced,
        QStringLiteral("Неправильно введенные данные и выбранные расчетные формулы могут привести к ошибке в "
                       "расчете! Произвести расчет?"),
        ui::Icon::Question, ui::Buttons::YesNo);
    if (go != ui::Answer::Yes) {
        state_.settingsConfirmed = false;
        return;
    }
    runConfirmed();
}

void RunRequest::openSettings(bool bothPressuresTyped)
{
    // Both saturated pressures typed by hand: the pressure formula is not asked for.
    auto* dlg = new frmSetup_rasch(state_, bothPressuresTyped, input_.inputScreen());
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    if (!dlg->loaded()) {
        dlg->deleteLater();
        return;
    }
    connect(dlg, &QDialog::accepted, this, [this] { request(); });
    settingsDialog_ = dlg;
    dlg->open();
}

void RunRequest::runConfirmed()
{
    try {
        const records::CalculationInputs inputs = input_.inputs();
        const auto engineInputs = records::runInputsOf(inputs);
        if (const auto* bad = std::get_if<records::NotANumber>(&engineInputs)) {
            const calc::Stop message = records::inputError(*bad);
            showStop(message);
            input_.focusField(bad->field);
            return;
        }
        if (!inputs.main) {
            ui::dialogs().inform(calc::text::kAttention, QStringLiteral("Не введены данные о рассчитываемом блоке!"),
                                 ui::Icon::Critical);
            return;
        }
        const records::StoreReference reference(state_.db());
        const calc::RunOutcome outcome =
            calc::run(std::get<calc::RunInputs>(engineInputs), reference,
                      [this] { records::appendRunJournal(state_.db(), state_.current.name); });
        if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
            showStop(*stop);
            return;
        }
        const auto& result = std::get<calc::RaschResult>(outcome);
        state_.lastResult = result;

        QWidget* screen = input_.inputScreen();
        auto* output = new frmOutput(state_, screen, inputs, report::buildResultsView(result, inputs));
        screen->hide();
        output->show();
        state_.settingsConfirmed = false;
        Q_EMIT resultsShown(output);
    } catch (const db::StoreError& e) {
        showStoreError(e);
    } catch (const std::exception& e) {
        ui::dialogs().inform(calc::text::kAttention,
                             QStringLiteral("Расчет прерван: %1").arg(QString::fromUtf8(e.what())),
                             ui::Icon::Critical);
    }
}

}  // namespace veltron::screens
