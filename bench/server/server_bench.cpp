// Clients of one shared data source working at once, as the programs of a
// department do: each client is a process of its own that opens, saves and
// runs its calculations one after another (load the inputs as the input
// screen opens them, save the general conditions, run model I, append the
// journal row).
//
//   bench_server --dsn NAME [--clients 8] [--runs 200] [benchmark options]
//
// The data source's database gets the program's tables when it has none;
// the calculations "Замер …" of an earlier run are replaced. Reported:
// runs_per_second over all clients (from the moment all are connected
// until the last finishes) and errors (failed saves or runs; 0 expected).
#include "calc/engine.h"
#include "db/data_source.h"
#include "records/blocks.h"
#include "records/calculation_inputs.h"
#include "records/calculations.h"
#include "records/store_reference.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstring>
#include <iostream>
#include <memory>
#include <vector>

using namespace veltron;

namespace {

QString dsn;
int clients = 8;
int runs = 200;

QString calculationName(int client, int run)
{
    return QStringLiteral("Замер %1-%2").arg(client).arg(run);
}

// Calculations of every client: the stored example's conditions and blocks
// with the air temperature varied, so that the runs differ.
void prepare()
{
    auto store = db::Store::openOdbc(QDir::currentPath(), dsn);
    if (!store->hasTables())
        store->createSchema(true);
    std::optional<records::Calculation> example;
    for (const records::Calculation& c : records::listCalculations(*store))
        if (!c.name.startsWith(QStringLiteral("Замер ")))
            example = c;
    if (!example)
        throw db::StoreError(QStringLiteral("no calculation to copy"));
    const records::Calculation source = *example;
    const records::Conditions conditions = *records::loadConditions(*store, source.id);
    store->transaction([&] {
        for (const records::Calculation& c : records::listCalculations(*store))
            if (c.name.startsWith(QStringLiteral("Замер ")))
                records::deleteCalculation(*store, c.id);
        for (int k = 0; k < clients; ++k)
            for (int i = 0; i < runs; ++i) {
                records::Conditions mine = conditions;
                mine.Tempv = 10 + (k * runs + i) % 25;
                records::saveAs(*store, source.id, calculationName(k, i), mine);
            }
    });
}

// One client: connects, waits for the go file, works through its calculations.
int client(int k, const QString& go)
{
    auto store = db::Store::openOdbc(QDir::currentPath(), dsn);
    const records::StoreReference reference(*store);
    std::cout << "ready" << std::endl;
    while (!QFile::exists(go))
        QThread::msleep(1);
    int done = 0, errors = 0;
    for (int i = 0; i < runs; ++i) {
        try {
            const auto calculation = records::findByName(*store, calculationName(k, i));
            if (!calculation)
                throw db::StoreError(QStringLiteral("calculation missing"));
            const records::RunnableInputs loaded = records::loadCalculationInputs(*store, *calculation);
            records::Conditions conditions = *records::loadConditions(*store, calculation->id);
            conditions.Tg = conditions.Tempv;
            records::saveConditions(*store, calculation->id, conditions);
            const calc::RunOutcome outcome = records::runLoaded(
                loaded, reference, [&] { records::appendRunJournal(*store, calculation->name); });
            if (calc::succeeded(outcome))
                ++done;
            else
                ++errors;
        } catch (const db::StoreError& e) {
            if (errors == 0)
                std::cerr << e.message().toStdString() << std::endl;
            ++errors;
        }
    }
    std::cout << done << " " << errors << std::endl;
    return 0;
}

struct Totals {
    int runs = 0;
    int errors = 0;
    double seconds = 0;
};

Totals runClients()
{
    QTemporaryDir dir;
    const QString go = dir.filePath(QStringLiteral("go"));
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int k = 0; k < clients; ++k) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {"--dsn", dsn, "--runs", QString::number(runs), "--client", QString::number(k), "--go", go});
        processes.push_back(std::move(p));
    }
    for (auto& p : processes)
        if (!p->waitForReadyRead(60000) || p->readLine().trimmed() != "ready")
            throw db::StoreError(QStringLiteral("a client did not start"));
    QElapsedTimer timer;
    QFile(go).open(QIODevice::WriteOnly);
    timer.start();
    Totals t;
    for (auto& p : processes) {
        p->waitForFinished(-1);
        const QList<QByteArray> counts = p->readAllStandardOutput().trimmed().split(' ');
        if (p->exitCode() != 0 || counts.size() != 2) {
            t.errors += runs;
            continue;
        }
        t.runs += counts[0].toInt();
        t.errors += counts[1].toInt();
    }
    t.seconds = timer.elapsed() / 1000.0;
    return t;
}

void BM_ClientsRunAndSave(benchmark::State& state)
{
    Totals t;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        state.ResumeTiming();
        t = runClients();
        state.SetIterationTime(t.seconds);
    }
    state.counters["clients"] = clients;
    state.counters["runs"] = t.runs;
    state.counters["errors"] = t.errors;
    state.counters["runs_per_second"] = t.seconds > 0 ? t.runs / t.seconds : 0;
}

QString takeValue(std::vector<char*>& args, const char* name)
{
    for (std::size_t i = 1; i + 1 < args.size(); ++i)
        if (std::strcmp(args[i], name) == 0) {
            const QString value = QString::fromLocal8Bit(args[i + 1]);
            args.erase(args.begin() + std::ptrdiff_t(i), args.begin() + std::ptrdiff_t(i) + 2);
            return value;
        }
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::vector<char*> args(argv, argv + argc);
    dsn = takeValue(args, "--dsn");
    if (dsn.isEmpty())
        dsn = qEnvironmentVariable("VELTRON_DSN");
    if (const QString n = takeValue(args, "--clients"); !n.isEmpty())
        clients = n.toInt();
    if (const QString n = takeValue(args, "--runs"); !n.isEmpty())
        runs = n.toInt();
    const QString k = takeValue(args, "--client");
    const QString go = takeValue(args, "--go");
    try {
        if (!k.isEmpty())
            return client(k.toInt(), go);
        if (dsn.isEmpty()) {
            std::cerr << "usage: bench_server --dsn NAME [--clients N] [--runs N]\n";
            return 1;
        }
        int n = int(args.size());
        benchmark::Initialize(&n, args.data());
        benchmark::RegisterBenchmark("ClientsRunAndSave", BM_ClientsRunAndSave)
            ->Iterations(1)
            ->UseManualTime()
            ->Unit(benchmark::kSecond);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    } catch (const db::StoreError& e) {
        std::cerr << e.message().toStdString() << "\n";
        return 1;
    }
}
