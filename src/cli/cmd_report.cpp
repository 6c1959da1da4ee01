// veltron-cli report appendix|main NAME --out FILE.docx [--pressure P]: runs
// a stored calculation of model I and writes its appendix or its main report
// headless, through the same code as the results screen.
#include "cli/cli.h"
#include "cli/json_writer.h"
#include "cli/model_reports.h"
#include "cli/signature_options.h"

#include "calc/engine.h"
#include "calc/number_text.h"
#include "db/report_target.h"
#include "records/calculations.h"
#include "records/calculation_inputs.h"
#include "records/store_reference.h"
#include "report/appendix_report.h"
#include "report/docx/docx_error.h"
#include "report/main_report.h"
#include "report/results_view.h"

namespace veltron::cli {

namespace {

struct ReportArgs {
    QString kind;
    QString name;
    QString out;
    double pressure = 5;
    bool pressureGiven = false;
};

const char* const kUsage =
    "Использование: veltron-cli report appendix ИМЯ_РАСЧЕТА --out ФАЙЛ.docx [--pressure P] [--signer "
    "\"ДОЛЖНОСТЬ|ФИО\"] [--source \"ИСТОЧНИК\"]\n"
    "               veltron-cli report main ИМЯ_РАСЧЕТА --out ФАЙЛ.docx [--signer \"ДОЛЖНОСТЬ|ФИО\"] [--source "
    "\"ИСТОЧНИК\"]\n";

std::optional<ReportArgs> parseArgs(const QStringList& args, std::ostream& err)
{
    ReportArgs a;
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size()) {
            a.out = args[++i];
        } else if (args[i] == QLatin1String("--pressure") && i + 1 < args.size()) {
            const auto p = calc::parseNumber(args[++i]);
            if (!p) {
                printBadNumber(err, QStringLiteral("Давление"), args[i]);
                return std::nullopt;
            }
            a.pressure = *p;
            a.pressureGiven = true;
        } else {
            rest << args[i];
        }
    }
    const bool appendix = rest.value(0) == QLatin1String("appendix");
    const bool main = rest.value(0) == QLatin1String("main");
    // The main report has no overpressure of its own.
    if (rest.size() != 2 || !(appendix || main) || a.out.isEmpty() || (main && a.pressureGiven)) {
        err << kUsage;
        return std::nullopt;
    }
    a.kind = rest[0];
    a.name = rest[1];
    return a;
}

}  // namespace

void printStop(Context& ctx, const calc::Stop& stop)
{
    ctx.err << stop.title.toStdString() << ": " << stop.message.toStdString() << "\n";
    JsonWriter w;
    w.beginObject();
    w.member("title", stop.title);
    w.member("message", stop.message);
    w.endObject();
    ctx.out << w.text() << "\n";
}

std::variant<StoredRun, int> runStored(Context& ctx, const QString& name)
{
    const auto calculation = records::findByName(ctx.store, name);
    if (!calculation) {
        ctx.err << "Расчет " << quoted(name) << " не найден в базе данных.\n";
        return 1;
    }
    const records::RunnableInputs loaded = records::loadRunnableInputs(ctx.store, *calculation);
    bool journalDue = false;
    const records::StoreReference reference(ctx.store);
    const calc::RunOutcome outcome = records::runLoaded(loaded, reference, [&] { journalDue = true; });
    if (journalDue)
        records::appendRunJournal(ctx.store, calculation->name);
    if (const calc::Stop* s = std::get_if<calc::Stop>(&outcome)) {
        printStop(ctx, *s);
        return 2;
    }
    StoredRun run;
    run.result = std::get<calc::RaschResult>(outcome);
    run.inputs = std::get<records::CalculationInputs>(loaded);
    run.view = report::buildResultsView(run.result, run.inputs);
    return run;
}

namespace {

int reportCommand(Context& ctx, const QStringList& words)
{
    QStringList args = words;
    const auto signature = takeSignature(args, ctx.err);
    if (!signature)
        return 1;
    if (isModelReport(args))
        return modelReportCommand(ctx, args, *signature);
    const auto a = parseArgs(args, ctx.err);
    if (!a)
        return 1;
    try {
        const auto done = runStored(ctx, a->name);
        if (const int* status = std::get_if<int>(&done))
            return *status;
        const StoredRun& run = std::get<StoredRun>(done);
        QByteArray document;
        if (a->kind == QLatin1String("main")) {
            // The evaporation calculator has not been used in this program.
            document = report::buildMainReport({run.inputs, run.result, run.view, NyuMemory{}, *signature});
        } else {
            const auto zone = report::overpressure(a->pressure, run.result.R0);
            if (zone.clamped)
                ctx.err << report::overpressureRangeMessage().toStdString() << "\n";
            report::AppendixData data;
            data.result = run.result;
            data.view = run.view;
            data.z = run.result.z;
            data.blockName = run.view.mainBlock.value(0);
            data.row6 = zone.row6;
            data.calculator = zone;
            data.signature = *signature;
            document = report::buildAppendixReport(data);
        }
        const QString path = db::withDocxExtension(a->out);
        if (!writeOutputFile(ctx, path, document))
            return 1;
        return printFileWritten(ctx, path);
    } catch (const docx::DocxError& e) {
        ctx.err << e.message().toStdString() << "\n";
    } catch (const db::StoreError& e) {
        printStoreError(ctx, e);
    }
    return 1;
}

}  // namespace

void registerReportCommand()
{
    registerCommand(QStringLiteral("report"),
                    QStringLiteral("report appendix|main ИМЯ_РАСЧЕТА --out ФАЙЛ.docx [--pressure P] — приложение "
                                   "или основной отчет расчета; report model2|model3 АРГУМЕНТЫ_МОДЕЛИ --out ФАЙЛ.docx "
                                   "[--pressure P] — отчет модели II или III; report model4 ИМЯ_РАСЧЕТА --out "
                                   "ФАЙЛ.docx [--pressure P] — отчет комплексного расчета; каждый отчет принимает [--signer "
                                   "\"ДОЛЖНОСТЬ|ФИО\"] [--source \"ИСТОЧНИК\"] — подпись в конце отчета"),
                    reportCommand);
}

}  // namespace veltron::cli
