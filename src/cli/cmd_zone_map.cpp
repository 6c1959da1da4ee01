// veltron-cli zone-map: the map of the destruction zones of a run written
// as PNG or SVG, as the results screens draw it and the reports print it.
#include "cli/cli.h"
#include "cli/model_reports.h"

#include "calc/number_text.h"
#include "report/docx/docx_error.h"
#include "report/zone_map.h"

namespace veltron::cli {

namespace {

const char* const kUsage =
    "Использование: veltron-cli zone-map ИМЯ_РАСЧЕТА --out ФАЙЛ.png|ФАЙЛ.svg [--pressure P]\n"
    "               veltron-cli zone-map --model2 --mass M --energy Q [--name БЛОК] [--compound СОЕДИНЕНИЕ] "
    "--out ФАЙЛ [--pressure P]\n"
    "               veltron-cli zone-map --model3 --wt0 A --wt1 B --formula 22.1|22.2 --out ФАЙЛ [--pressure P]\n"
    "               veltron-cli zone-map --model4 ИМЯ_КОМПЛЕКСНОГО_РАСЧЕТА --out ФАЙЛ [--pressure P]\n";

// The file of the map: the extension chooses the format.
int writeMap(Context& ctx, const QString& out, const report::ZoneMapData& data)
{
    const bool svg = out.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
    try {
        const QByteArray bytes = svg ? report::zoneMapSvg(data) : report::zoneMapPng(data);
        if (!writeOutputFile(ctx, out, bytes))
            return 1;
    } catch (const docx::DocxError& e) {
        ctx.err << e.message().toStdString() << "\n";
        return 1;
    }
    return printFileWritten(ctx, out);
}

bool isMapFile(const QString& path)
{
    return path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)
        || path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
}

// The words of a stored calculation: "NAME --out F [--pressure P]".
struct StoredArgs {
    QString name;
    QString out;
    double pressure = 5;
};

std::optional<StoredArgs> storedArgs(Context& ctx, const QStringList& args)
{
    StoredArgs a;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--out") && i + 1 < args.size()) {
            a.out = args[++i];
        } else if (args[i] == QLatin1String("--pressure") && i + 1 < args.size()) {
            const auto p = calc::parseNumber(args[++i]);
            if (!p) {
                printBadNumber(ctx.err, QStringLiteral("Давление"), args[i]);
                return std::nullopt;
            }
            a.pressure = *p;
        } else if (a.name.isEmpty() && !args[i].startsWith(QLatin1String("--"))) {
            a.name = args[i];
        } else {
            ctx.err << kUsage;
            return std::nullopt;
        }
    }
    if (a.name.isEmpty() || a.out.isEmpty()) {
        ctx.err << kUsage;
        return std::nullopt;
    }
    return a;
}

// The map of a stored calculation of model I or IV with the calculator at
// 5 kPa unless told otherwise, as their results screens run it.
int storedMap(Context& ctx, const QStringList& args, bool complex)
{
    const auto a = storedArgs(ctx, args);
    if (!a)
        return 1;
    try {
        double R0 = 0;
        if (complex) {
            const auto done = runModel4(ctx, a->name);
            if (const int* status = std::get_if<int>(&done))
                return *status;
            R0 = std::get<calc::ComplexRun>(done).result.R0;
        } else {
            const auto done = runStored(ctx, a->name);
            if (const int* status = std::get_if<int>(&done))
                return *status;
            R0 = std::get<StoredRun>(done).result.R0;
        }
        const report::Overpressure zone = report::overpressure(a->pressure, R0);
        if (zone.clamped)
            ctx.err << report::overpressureRangeMessage().toStdString() << "\n";
        return writeMap(ctx, a->out, report::ZoneMapData{R0, zone});
    } catch (const db::StoreError& e) {
        printStoreError(ctx, e);
    }
    return 1;
}

int zoneMapCommand(Context& ctx, const QStringList& args)
{
    // The format is known before anything runs.
    const qsizetype at = args.indexOf(QStringLiteral("--out"));
    if (at >= 0 && at + 1 < args.size() && !isMapFile(args[at + 1])) {
        ctx.err << "Файл рисунка должен иметь расширение .png или .svg.\n";
        return 1;
    }
    const QString first = args.value(0);
    if (first == QLatin1String("--model2") || first == QLatin1String("--model3")) {
        QStringList words = args;
        words[0] = first.mid(2);
        const auto done = runModelForOutput(ctx, words, QStringLiteral("zone-map --"),
                                            QStringLiteral("--out ФАЙЛ.png|ФАЙЛ.svg [--pressure P]"));
        if (const int* status = std::get_if<int>(&done))
            return *status;
        const ModelOutput& o = std::get<ModelOutput>(done);
        return writeMap(ctx, o.out, report::ZoneMapData{o.run.R0, o.calculator});
    }
    if (first == QLatin1String("--model4"))
        return storedMap(ctx, args.mid(1), true);
    return storedMap(ctx, args, false);
}

}  // namespace

void registerZoneMapCommand()
{
    registerCommand(QStringLiteral("zone-map"),
                    QStringLiteral("zone-map ИМЯ_РАСЧЕТА|--model2 …|--model3 …|--model4 ИМЯ --out ФАЙЛ.png|ФАЙЛ.svg "
                                   "[--pressure P] — карта зон разрушения"),
                    zoneMapCommand);
}

}  // namespace veltron::cli
