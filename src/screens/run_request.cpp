#include "screens/run_request.h"

#include "calc/engine.h"
#include "calc/number_text.h"
#include "records/blocks.h"
#include "records/run_inputs.h"
#include "records/store_reference.h"
#include "screens/frmOutput.h"
#include "screens/frmSetup_rasch.h"
#include "screens/store_errors.h"
#include "ui/dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <map>

namespace veltron::screens {

namespace {

ui::Icon iconOf(calc::StopIcon icon)
{
    switch (icon) {
    case calc::StopIcon::None:
        return ui::Icon::None;
    case calc::StopIcon::Information:
        return ui::Icon::Information;
    case calc::StopIcon::Warning:
        return ui::Icon::Warning;
    case calc::StopIcon::Error:
        break;
    }
    return ui::Icon::Critical;
}

struct NumericField {
    const char* control;
    const char* caption;
};

}  // namespace

RunRequest::RunRequest(AppState& state, QWidget* inputScreen) : QObject(inputScreen), state_(state), input_(inputScreen)
{
}

QString RunRequest::text(const char* control) const
{
    if (!input_)
        return {};
    const QString name = QLatin1String(control);
    if (auto* e = input_->findChild<QLineEdit*>(name))
        return e->text();
    if (auto* c = input_->findChild<QComboBox*>(name))
        return c->currentText();
    if (auto* l = input_->findChild<QLabel*>(name))
        return l->text();
    return {};
}

bool RunRequest::checked(const char* control) const
{
    if (!input_)
        return false;
    auto* b = input_->findChild<QAbstractButton*>(QLatin1String(control));
    return b && b->isChecked();
}

void RunRequest::request()
{
    if (!input_)
        return;
    const QString zet = text("Zet");
    if (zet == QLatin1String("0")) {
        ui::dialogs().inform(calc::text::kAttentionSpaced, calc::text::kZetMissing, ui::Icon::None);
        return;
    }
    if (checked("Check1") && text("S_G") == QLatin1String("0")) {
        ui::dialogs().inform(calc::text::kAttention, calc::text::kMirrorAreaMissing, ui::Icon::Critical);
        return;
    }
    if (!state_.settingsConfirmed) {
        const ui::Answer save = ui::dialogs().ask(calc::text::kAttentionSpaced,
                                                  QStringLiteral("Сохранить исходные данные для текщуго расчета?"),
                                                  ui::Icon::Question, ui::Buttons::YesNo);
        if (save == ui::Answer::Yes) {
            if (auto* action = input_->findChild<QAction*>(QStringLiteral("mnuSave")))
                action->trigger();
        }
        openSettings();
        return;
    }
    const ui::Answer go = ui::dialogs().ask(
        calc::text::kAttentionSpaced,
        QStringLiteral("Не правильно введенные данные и выбранные расчетные формулы могут привести к ошибке в "
                       "расчете! Произвести расчет?"),
        ui::Icon::Question, ui::Buttons::YesNo);
    if (go != ui::Answer::Yes) {
        state_.settingsConfirmed = false;
        return;
    }
    runConfirmed();
}

void RunRequest::openSettings()
{
    // Both saturated pressures typed by hand: the pressure formula is not asked for.
    auto* dlg = new frmSetup_rasch(state_, checked("Check3") && checked("Check4"), input_);
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    if (!dlg->loaded()) {
        dlg->deleteLater();
        return;
    }
    connect(dlg, &QDialog::accepted, this, [this] { request(); });
    settingsDialog_ = dlg;
    dlg->open();
}

std::optional<calc::RunInputs> RunRequest::collectInputs()
{
    calc::RunInputs in;
    in.calculationName = state_.current.name;
    in.settings = state_.runSettings;
    calc::GeneralConditions& c = in.conditions;
    c.Zet = text("Zet");
    c.Check1 = checked("Check1");
    c.S_G = text("S_G");
    c.Name_poverhn = text("Combo4");
    c.Check2 = checked("Check2");
    c.Check3 = checked("Check3");
    c.Check4 = checked("Check4");

    std::vector<NumericField> fields = {
        {"Zet", "Доля приведенной массы парогазовых веществ, участвующих во взрыве, z"},
        {"S_G", "Площадь поверхности зеркала жидкости, кв.м"},
        {"S_kontakt", "Площадь контакта жидкости с твердой поверхностью пролива, кв.м"},
        {"t_kontakt", "Время контакта жидкости с поверхностью пролива, принимаемое в расчет, с"},
        {"Tempv", "Температура воздуха, °C"},
        {"txtTg", "Температура жидкости в проливе, °C"},
        {"Tempp", "Температура твердой поверхности (пола, поддона, грунта и т.п.), °C"},
        {"c", "Уд. теплоем. кДж/(кг·К)"},
        {"p", "Плотность, кг/куб.м"},
        {"Koef_teplopr", "Коэффициент теплопр. Вт/(м·К)"},
        {"txtNyu", "Коэффициент интенсивности испарения"},
    };
    if (c.Check2) {
        fields.push_back({"txtUv", "скорость воздушного потока над зеркалом испарения, м/с"});
        fields.push_back({"txtLnkpr", "L 0,5 НКПР"});
    }
    if (c.Check3)
        fields.push_back({"txtPn", "давление насыщенных паров при реглам. температуре в блоке, кПа"});
    if (c.Check4)
        fields.push_back({"txtPn1", "давление насыщенных паров при макс. из температур, кПа"});

    std::map<QString, double> values;
    for (const NumericField& f : fields) {
        const auto v = calc::parseNumber(text(f.control));
        if (!v) {
            ui::dialogs().inform(QStringLiteral("Ввод данных"),
                                 QStringLiteral("Проверте правильность ввода: \"%1\" должно быть числом.")
                                     .arg(QString::fromUtf8(f.caption)),
                                 ui::Icon::Warning);
            if (auto* w = input_->findChild<QWidget*>(QLatin1String(f.control)))
                w->setFocus(Qt::OtherFocusReason);
            return std::nullopt;
        }
        values[QLatin1String(f.control)] = *v;
    }
    const auto value = [&](const char* control) {
        const auto it = values.find(QLatin1String(control));
        return it == values.end() ? 0.0 : it->second;
    };
    c.S_kontakt = value("S_kontakt");
    c.t_kontakt = value("t_kontakt");
    c.Tempv = value("Tempv");
    c.Tg = value("txtTg");
    c.Tempp = value("Tempp");
    c.c = value("c");
    c.p = value("p");
    c.Koef_teplopr = value("Koef_teplopr");
    c.Nyu = value("txtNyu");
    if (c.Check2) {
        c.Uv = value("txtUv");
        c.Lnkpr = value("txtLnkpr");
    }
    c.Pn = value("txtPn");
    c.Pn1 = value("txtPn1");

    const QList<records::Block> blocks = records::blocksOf(state_.db(), state_.current.id);
    bool haveMain = false;
    for (const records::Block& b : blocks) {
        if (b.isMain()) {
            in.main = records::toBlockData(b);
            haveMain = true;
        } else {
            in.adjacent.push_back(records::toBlockData(b));
        }
    }
    if (!haveMain) {
        ui::dialogs().inform(calc::text::kAttention, QStringLiteral("Не введены данные о рассчитываемом блоке!"),
                             ui::Icon::Critical);
        return std::nullopt;
    }
    return in;
}

report::InputTexts RunRequest::inputTexts() const
{
    report::InputTexts t;
    t.t_kontakt = text("t_kontakt");
    t.Type = text("Combo4");
    t.Koef_teplopr = text("Koef_teplopr");
    t.c = text("c");
    t.p = text("p");
    t.S_kontakt = text("S_kontakt");
    t.S_G = text("S_G");
    t.txtNyu = text("txtNyu");
    t.Tempv = text("Tempv");
    t.LTempv = text("LTempv");
    if (t.LTempv.isEmpty())
        t.LTempv = checked("Option3") ? QStringLiteral("Температура воздуха в окружающей среде, °C")
                                      : QStringLiteral("Температура воздуха в помещение, °C");
    t.Tempp = text("Tempp");
    t.txtTg = text("txtTg");
    t.Check3 = checked("Check3");
    t.Check4 = checked("Check4");
    return t;
}

void RunRequest::runConfirmed()
{
    try {
        const auto inputs = collectInputs();
        if (!inputs)
            return;
        const records::StoreReference reference(state_.db());
        const calc::RunOutcome outcome = calc::run(
            *inputs, reference, [this] { records::appendRunJournal(state_.db(), state_.current.name); });
        if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
            ui::dialogs().inform(stop->title, stop->message, iconOf(stop->icon));
            return;
        }
        const auto& result = std::get<calc::RaschResult>(outcome);
        const report::ResultsView view =
            report::buildResultsView(result, inputTexts(), records::blocksOf(state_.db(), state_.current.id));
        state_.lastResult = result;

        auto* output = new frmOutput(state_, input_, view);
        input_->hide();
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
