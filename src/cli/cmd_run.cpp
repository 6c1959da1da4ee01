// veltron-cli run NAME | run --all: model I on stored calculations.
#include "cli/cli.h"
#include "cli/json_writer.h"

#include "calc/engine.h"
#include "records/calculations.h"
#include "records/calculation_inputs.h"
#include "records/journal.h"
#include "records/store_reference.h"

#include <QDateTime>

#include <optional>

namespace veltron::cli {

namespace {

void writeResult(JsonWriter& w, const calc::RaschResult& r)
{
    w.member("A", r.A);
    w.member("Betta", r.Betta);
    w.member("G", r.G);
    w.member("Gq", r.Gq);
    w.member("E11", r.E11);
    w.member("E12", r.E12);
    w.member("Ggf", r.Ggf);
    w.member("E21own", r.E21own);
    w.member("E21", r.E21);
    w.member("E22", r.E22);
    w.member("E23", r.E23);
    w.member("E24", r.E24);
    w.member("Gperegr", r.Gperegr);
    w.member("G23", r.G23);
    w.member("qr", r.qr);
    w.member("Tr", r.Tr);
    w.member("PnT", r.PnT);
    w.member("PnTr", r.PnTr);
    w.member("Cn", r.Cn);
    w.member("Nyu", r.Nyu);
    w.member("W", r.W);
    w.member("Eps", r.Eps);
    w.member("KoefG", r.KoefG);
    w.member("G4", r.G4);
    w.member("G5", r.G5);
    w.member("Gs", r.Gs);
    w.member("GW", r.GW);
    w.member("Tau", r.Tau);
    w.member("Tau_max", r.Tau_max);
    w.member("Tau15", r.Tau15);
    w.member("E", r.E);
    w.member("m", r.m);
    w.member("Q", r.Q);
    w.member("Zn_kategor", r.Zn_kategor);
    w.member("Wt", r.Wt);
    w.member("R0", r.R0);
    w.arrayMember("Rzone", r.Rzone);
    w.member("G_entered", r.G_entered);
    w.member("Ggf_entered", r.Ggf_entered);
    w.member("G4_entered", r.G4_entered);
    w.member("G5_entered", r.G5_entered);
    w.member("Gs_entered", r.Gs_entered);
    w.member("KoefG_report", r.KoefG_report);
    w.member("V0", r.V0);
    w.member("Label17", r.Label17);
    w.member("Label28", r.Label28);
    w.member("PnNote", calc::pnNote(r));
    w.key("adjacent");
    w.beginArray();
    for (const calc::AdjacentResult& a : r.adjacent) {
        w.beginObject();
        w.member("Id", a.Id);
        w.member("w12", a.w12);
        w.member("g12", a.g12);
        w.member("e12", a.e12);
        w.member("w21", a.w21);
        w.member("g21", a.g21);
        w.member("e21", a.e21);
        w.member("e22", a.e22);
        w.member("e23", a.e23);
        w.member("g12_entered", a.g12_entered);
        w.member("g21_entered", a.g21_entered);
        w.endObject();
    }
    w.endArray();
}

// One calculation: its JSON object into w, its journal row (if the run got
// that far) into journal. Returns the stop when the run gave no result.
std::optional<calc::Stop> runOne(JsonWriter& w, const calc::Reference& reference,
                                 const records::Calculation& calculation, const records::RunnableInputs& loaded,
                                 bool named, QList<records::JournalRow>& journal)
{
    const calc::RunOutcome outcome = records::runLoaded(loaded, reference, [&] {
        journal.append({QDateTime::currentDateTime(), calculation.name, calc::text::kJournalConc});
    });
    w.beginObject();
    if (named)
        w.member("Name", calculation.name);
    if (const calc::Stop* s = std::get_if<calc::Stop>(&outcome)) {
        w.member("title", s->title);
        w.member("message", s->message);
    } else {
        writeResult(w, std::get<calc::RaschResult>(outcome));
    }
    w.endObject();
    if (const calc::Stop* s = std::get_if<calc::Stop>(&outcome))
        return *s;
    return std::nullopt;
}

// Runs this many calculations, stores their journal rows, prints their objects.
constexpr int kBatch = 1000;

// Every stored calculation, in the order of the list of calculations. The
// array is printed a batch at a time, each batch once the journal rows of
// its runs are stored: output always belongs to runs whose journal rows are
// stored, and memory does not grow with the number of calculations.
int runAll(Context& ctx, const calc::Reference& reference)
{
    const QList<records::Calculation> all = records::listCalculations(ctx.store);
    JsonWriter w;
    QList<records::JournalRow> journal;
    const auto writeBatch = [&] {
        records::appendJournalRows(ctx.store, journal);
        journal.clear();
        w.writeTo(ctx.out);
    };
    bool allSucceeded = true;
    int inBatch = 0;
    w.beginArray();
    records::loadRunnableInputs(ctx.store, all, [&](qsizetype i, const records::RunnableInputs& in) {
        allSucceeded = !runOne(w, reference, all[i], in, true, journal) && allSucceeded;
        if (++inBatch == kBatch) {
            writeBatch();
            inBatch = 0;
        }
    });
    w.endArray();
    writeBatch();
    ctx.out << "\n";
    return allSucceeded ? 0 : 2;
}

int runCommand(Context& ctx, const QStringList& args)
{
    if (args.size() != 1) {
        ctx.err << "Использование: veltron-cli run ИМЯ_РАСЧЕТА | run --all\n";
        return 1;
    }
    try {
        const records::StoreReference reference(ctx.store);
        if (args.first() == QLatin1String("--all"))
            return runAll(ctx, reference);
        const auto calculation = records::findByName(ctx.store, args.first());
        if (!calculation) {
            ctx.err << "Расчет " << quoted(args.first()) << " не найден в базе данных.\n";
            return 1;
        }
        JsonWriter w;
        QList<records::JournalRow> journal;
        const std::optional<calc::Stop> stop =
            runOne(w, reference, *calculation, records::loadRunnableInputs(ctx.store, *calculation), false, journal);
        // The journal is written before anything is printed: output always
        // belongs to runs whose journal rows are stored.
        records::appendJournalRows(ctx.store, journal);
        if (stop)
            ctx.err << stop->title.toStdString() << ": " << stop->message.toStdString() << "\n";
        ctx.out << w.text() << "\n";
        return stop ? 2 : 0;
    } catch (const db::StoreError& e) {
        ctx.out.flush();
        printStoreError(ctx, e);
        return 1;
    }
}

}  // namespace

void registerRunCommand()
{
    registerCommand(QStringLiteral("run"), QStringLiteral("run ИМЯ_РАСЧЕТА | run --all — расчет модели I"),
                    runCommand);
}

}  // namespace veltron::cli
