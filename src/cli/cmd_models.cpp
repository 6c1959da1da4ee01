// veltron-cli model2 … | model3 … | model4 NAME and report model2|model3|model4 …:
// models II, III and IV headless, through the same code as their screens.
#include "cli/cli.h"
#include "cli/json_writer.h"
#include "cli/model_reports.h"

#include "calc/complex_calculation.h"
#include "calc/number_text.h"
#include "calc/tnt_equivalent.h"
#include "db/report_target.h"
#include "records/calculations.h"
#include "records/complex_rows.h"
#include "records/journal.h"
#include "report/complex_report.h"
#include "report/docx/docx_error.h"
#include "report/summary_report.h"
#include "report/unstable_report.h"
#include "report/zone_map.h"

#include <functional>
#include <map>
#include <optional>

namespace veltron::cli {

namespace {

const QString kModel2Usage = QStringLiteral(
    "model2 --mass M --energy Q [--name БЛОК] [--compound СОЕДИНЕНИЕ] — модель II, нестабильные соединения");
const QString kModel3Usage =
    QStringLiteral("model3 --wt0 A --wt1 B --formula 22.1|22.2 — модель III, суммарный расчет");
const QString kModel4Usage = QStringLiteral("model4 ИМЯ_РАСЧЕТА — модель IV, сохраненный комплексный расчет");

// The options of a command as "--name value" pairs; nothing, with the reason
// on err, for a word that is not an allowed option or an option without a value.
std::optional<std::map<QString, QString>> options(const QStringList& args, const QStringList& allowed,
                                                  std::ostream& err)
{
    std::map<QString, QString> found;
    for (int i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (!allowed.contains(word)) {
            err << "Неизвестный аргумент " << quoted(word) << ".\n";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            err << "После " << quoted(word) << " нет значения.\n";
            return std::nullopt;
        }
        found[word] = args[++i];
    }
    return found;
}

// The number of a required option.
std::optional<double> number(const std::map<QString, QString>& opts, const QString& name, const char* what,
                             std::ostream& err)
{
    const auto it = opts.find(name);
    if (it == opts.end()) {
        err << "Не задан аргумент " << name.toStdString() << ".\n";
        return std::nullopt;
    }
    const auto x = calc::parseNumber(it->second);
    if (!x)
        printBadNumber(err, QString::fromUtf8(what), it->second);
    return x;
}

QString text(const std::map<QString, QString>& opts, const QString& name)
{
    const auto it = opts.find(name);
    return it == opts.end() ? QString() : it->second;
}

std::optional<calc::UnstableCase> unstableCase(const std::map<QString, QString>& opts, std::ostream& err)
{
    const auto mass = number(opts, QStringLiteral("--mass"), "Масса", err);
    if (!mass)
        return std::nullopt;
    const auto energy = number(opts, QStringLiteral("--energy"), "Удельная энергия взрыва", err);
    if (!energy)
        return std::nullopt;
    calc::UnstableCase c;
    c.blockName = text(opts, QStringLiteral("--name"));
    c.compound = text(opts, QStringLiteral("--compound"));
    c.massText = report::asTypedInBox(text(opts, QStringLiteral("--mass")));
    c.energyText = report::asTypedInBox(text(opts, QStringLiteral("--energy")));
    c.mass = *mass;
    c.energy = *energy;
    return c;
}

std::optional<calc::SummaryCase> summaryCase(const std::map<QString, QString>& opts, std::ostream& err)
{
    const auto wt0 = number(opts, QStringLiteral("--wt0"), "Тротиловый эквивалент ПГС", err);
    if (!wt0)
        return std::nullopt;
    const auto wt1 = number(opts, QStringLiteral("--wt1"), "Тротиловый эквивалент нестабильных соединений", err);
    if (!wt1)
        return std::nullopt;
    const QString formula = text(opts, QStringLiteral("--formula"));
    calc::SummaryCase c;
    if (formula == QLatin1String("22.1")) {
        c.formula = calc::RadiusFormula::Corrected22_1;
    } else if (formula == QLatin1String("22.2")) {
        c.formula = calc::RadiusFormula::CubeRoot22_2;
    } else {
        err << "Формула приведенного радиуса задается аргументом --formula 22.1 или --formula 22.2.\n";
        return std::nullopt;
    }
    c.wt0Text = report::asTypedInBox(text(opts, QStringLiteral("--wt0")));
    c.wt1Text = report::asTypedInBox(text(opts, QStringLiteral("--wt1")));
    c.wt0 = *wt0;
    c.wt1 = *wt1;
    return c;
}

// A run of either model: the stop is printed (status 2), a result gets its
// journal row. A journal row that cannot be written does not cost the
// result: the run's numbers are right, so they are given with a warning.
// Returns the result, or the exit status.
std::variant<calc::ZoneRun, int> runAndJournal(Context& ctx, const calc::ZoneOutcome& outcome, const QString& nameOb,
                                               const QString& conc)
{
    if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
        printStop(ctx, *stop);
        return 2;
    }
    try {
        records::appendJournalRow(ctx.store, nameOb, conc);
    } catch (const db::StoreError& e) {
        ctx.err << "Внимание: расчет выполнен, но его строка не записана в журнал расчетов.\n";
        printStoreError(ctx, e);
    }
    return std::get<calc::ZoneRun>(outcome);
}

int printRun(Context& ctx, const std::variant<calc::ZoneRun, int>& done)
{
    if (const int* status = std::get_if<int>(&done))
        return *status;
    const calc::ZoneRun& run = std::get<calc::ZoneRun>(done);
    JsonWriter w;
    w.beginObject();
    w.member("Wt", run.Wt);
    w.member("R0", run.R0);
    w.arrayMember("Rzone", run.Rzone);
    w.member("formula", QString::fromLatin1(calc::formulaName(run.formula)).mid(1, 4));
    w.endObject();
    ctx.out << w.text() << "\n";
    return 0;
}

const QStringList kModel2Options = {QStringLiteral("--mass"), QStringLiteral("--energy"), QStringLiteral("--name"),
                                    QStringLiteral("--compound")};
const QStringList kModel3Options = {QStringLiteral("--wt0"), QStringLiteral("--wt1"), QStringLiteral("--formula")};
const QStringList kReportOptions = {QStringLiteral("--out"), QStringLiteral("--pressure")};

std::variant<calc::ZoneRun, int> runModel2(Context& ctx, const calc::UnstableCase& c)
{
    return runAndJournal(ctx, calc::runUnstable(c), c.blockName, c.compound);
}

std::variant<calc::ZoneRun, int> runModel3(Context& ctx, const calc::SummaryCase& c)
{
    return runAndJournal(ctx, calc::runSummary(c), report::summaryJournalName(c), calc::kSummaryJournalConc);
}

// "model2 …" or "model3 …": parse, run, journal, print.
template <typename Case>
int modelCommand(Context& ctx, const QStringList& args, const QStringList& allowed, const QString& usage,
                 std::optional<Case> (*parse)(const std::map<QString, QString>&, std::ostream&),
                 std::variant<calc::ZoneRun, int> (*run)(Context&, const Case&))
{
    const auto opts = options(args, allowed, ctx.err);
    const auto c = opts ? parse(*opts, ctx.err) : std::nullopt;
    if (!c) {
        ctx.err << "Использование: veltron-cli " << usage.toStdString() << "\n";
        return 1;
    }
    return printRun(ctx, run(ctx, *c));
}

int model2Command(Context& ctx, const QStringList& args)
{
    return modelCommand(ctx, args, kModel2Options, kModel2Usage, unstableCase, runModel2);
}

int model3Command(Context& ctx, const QStringList& args)
{
    return modelCommand(ctx, args, kModel3Options, kModel3Usage, summaryCase, runModel3);
}

// Writes the report built by `build` to `out` (with ".docx" added when it
// lacks it) and prints its name.
int writeReport(Context& ctx, const QString& out, const std::function<QByteArray()>& build)
{
    const QString path = db::withDocxExtension(out);
    try {
        if (!writeOutputFile(ctx, path, build()))
            return 1;
    } catch (const docx::DocxError& e) {
        ctx.err << e.message().toStdString() << "\n";
        return 1;
    }
    return printFileWritten(ctx, path);
}

}  // namespace

std::variant<calc::ComplexRun, int> runModel4(Context& ctx, const QString& name)
{
    calc::ComplexRun run;
    try {
        const auto calculation = records::findByName(ctx.store, name, records::Kind::Complex);
        if (!calculation) {
            ctx.err << "Комплексный расчет " << quoted(name) << " не найден в базе данных.\n";
            return 1;
        }
        run.rows = records::openComplexRows(ctx.store, calculation->id);
    } catch (const db::StoreError& e) {
        printStoreError(ctx, e);
        return 1;
    }
    const calc::ComplexOutcome outcome = calc::runComplex(run.rows);
    if (const auto* stop = std::get_if<calc::Stop>(&outcome)) {
        printStop(ctx, *stop);
        return 2;
    }
    run.result = std::get<calc::ComplexResult>(outcome);
    try {
        records::appendJournalRow(ctx.store, calc::kComplexJournalName, QString());
    } catch (const db::StoreError& e) {
        printStoreError(ctx, e);
        return 1;
    }
    return run;
}

namespace {

int model4Command(Context& ctx, const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--"))) {
        ctx.err << "Использование: veltron-cli " << kModel4Usage.toStdString() << "\n";
        return 1;
    }
    const auto done = runModel4(ctx, args[0]);
    if (const int* status = std::get_if<int>(&done))
        return *status;
    const calc::ComplexResult& r = std::get<calc::ComplexRun>(done).result;
    JsonWriter w;
    w.beginObject();
    w.member("E", r.E);
    w.member("m", r.m);
    w.member("Q", r.Q);
    w.member("Zn_kategor", r.Zn_kategor);
    w.member("Wt", r.Wt);
    w.member("R0", r.R0);
    w.arrayMember("Rzone", r.Rzone);
    w.endObject();
    ctx.out << w.text() << "\n";
    return 0;
}

// "report model4 NAME --out FILE.docx [--pressure P]": the calculator's row
// for 5 kPa unless another pressure is given, as the screen runs it with
// every calculation.
int model4ReportCommand(Context& ctx, const QStringList& args, const records::Signature& signature)
{
    const QString name = args.value(0);
    const auto opts = options(args.mid(1), kReportOptions, ctx.err);
    if (name.isEmpty() || name.startsWith(QLatin1String("--")) || !opts || text(*opts, QStringLiteral("--out")).isEmpty()) {
        ctx.err << "Использование: veltron-cli report model4 ИМЯ_РАСЧЕТА --out ФАЙЛ.docx [--pressure P]\n";
        return 1;
    }
    double pressure = 5;
    if (opts->count(QStringLiteral("--pressure"))) {
        const auto p = number(*opts, QStringLiteral("--pressure"), "Давление", ctx.err);
        if (!p)
            return 1;
        pressure = *p;
    }
    const auto done = runModel4(ctx, name);
    if (const int* status = std::get_if<int>(&done))
        return *status;
    const calc::ComplexRun& run = std::get<calc::ComplexRun>(done);
    const auto zone = report::overpressure(pressure, run.result.R0);
    if (zone.clamped)
        ctx.err << report::overpressureRangeMessage().toStdString() << "\n";
    return writeReport(ctx, text(*opts, QStringLiteral("--out")), [&] {
        return report::buildComplexReport(run, report::zoneTable(run.result.R0, zone.row6), {run.result.R0, zone},
                                          signature);
    });
}

}  // namespace

bool isModelReport(const QStringList& args)
{
    return !args.isEmpty() && (args[0] == QLatin1String("model2") || args[0] == QLatin1String("model3") ||
                               args[0] == QLatin1String("model4"));
}

std::variant<ModelOutput, int> runModelForOutput(Context& ctx, const QStringList& args, const QString& command,
                                                 const QString& outTail)
{
    const bool model2 = args.value(0) == QLatin1String("model2");
    const QString usage = (model2 ? kModel2Usage : kModel3Usage).section(QStringLiteral(" — "), 0, 0);
    const auto opts = options(args.mid(1), (model2 ? kModel2Options : kModel3Options) + kReportOptions, ctx.err);
    if (!opts || text(*opts, QStringLiteral("--out")).isEmpty()) {
        ctx.err << "Использование: veltron-cli " << command.toStdString() << usage.toStdString() << " "
                << outTail.toStdString() << "\n";
        return 1;
    }
    ModelOutput output;
    output.out = text(*opts, QStringLiteral("--out"));
    // The results screen of model II shows its calculator for 5 kPa at once;
    // the row of the summary screen stays empty until the calculator is used.
    std::optional<double> pressure = model2 ? std::optional<double>(5) : std::nullopt;
    if (opts->count(QStringLiteral("--pressure"))) {
        pressure = number(*opts, QStringLiteral("--pressure"), "Давление", ctx.err);
        if (!pressure)
            return 1;
    }

    // Each model gives its run and the builder of its report.
    std::variant<calc::ZoneRun, int> done = 1;
    if (model2) {
        const auto c = unstableCase(*opts, ctx.err);
        if (!c)
            return 1;
        done = runModel2(ctx, *c);
        output.report = [c](const calc::ZoneRun& run, const report::ZoneTable& t, const report::ZoneMapData& map,
                            const records::Signature& signature) {
            return report::buildUnstableReport(*c, run, t, map, signature);
        };
    } else {
        const auto c = summaryCase(*opts, ctx.err);
        if (!c)
            return 1;
        done = runModel3(ctx, *c);
        output.report = [c](const calc::ZoneRun& run, const report::ZoneTable& t, const report::ZoneMapData& map,
                            const records::Signature& signature) {
            return report::buildSummaryReport(*c, run, t, map, signature);
        };
    }
    if (const int* status = std::get_if<int>(&done))
        return *status;
    output.run = std::get<calc::ZoneRun>(done);
    if (pressure) {
        output.calculator = report::overpressure(*pressure, output.run.R0);
        if (output.calculator->clamped)
            ctx.err << report::overpressureRangeMessage().toStdString() << "\n";
    }
    return output;
}

int modelReportCommand(Context& ctx, const QStringList& args, const records::Signature& signature)
{
    if (args.value(0) == QLatin1String("model4"))
        return model4ReportCommand(ctx, args.mid(1), signature);
    const auto done = runModelForOutput(ctx, args, QStringLiteral("report "),
                                        QStringLiteral("--out ФАЙЛ.docx [--pressure P]"));
    if (const int* status = std::get_if<int>(&done))
        return *status;
    const ModelOutput& o = std::get<ModelOutput>(done);
    const report::ZoneTable table =
        report::zoneTable(o.run.R0, o.calculator ? o.calculator->row6 : std::array<QString, 4>{});
    return writeReport(ctx, o.out,
                       [&] { return o.report(o.run, table, report::ZoneMapData{o.run.R0, o.calculator}, signature); });
}

int printFileWritten(Context& ctx, const QString& path)
{
    JsonWriter w;
    w.beginObject();
    w.member("file", path);
    w.endObject();
    ctx.out << w.text() << "\n";
    return 0;
}

void registerModelCommands()
{
    registerCommand(QStringLiteral("model2"), kModel2Usage, model2Command);
    registerCommand(QStringLiteral("model3"), kModel3Usage, model3Command);
    registerCommand(QStringLiteral("model4"), kModel4Usage, model4Command);
}

}  // namespace veltron::cli
