// One model I run with 0, 10 and 49 adjacent blocks, reference data in memory.
#include "calc/engine.h"

#include <benchmark/benchmark.h>

using namespace veltron::calc;

namespace {

MemoryReference reference()
{
    MemoryReference ref;
    SubstData s;
    s.Name = QStringLiteral("Гексан");
    s.Mol_massa = 86;
    s.T_kip = 68;
    s.Tvsp = -23;
    s.Tepl_sgorPGF = 45000;
    s.Tepl_paroobr = 335;
    s.Teploem_GF = 2.2;
    ref.addSubstance(s);
    s.Name = QStringLiteral("Пропан");
    s.Mol_massa = 44;
    s.T_kip = -42;
    s.Tepl_sgorPGF = 46000;
    s.Tepl_paroobr = 428;
    s.Teploem_GF = 2.5;
    ref.addSubstance(s);
    std::vector<BettaRow> betta;
    for (double k : {1.1, 1.2, 1.3, 1.4})
        for (double p : {0.5, 1.0, 5.0, 10.0, 50.0, 100.0})
            betta.push_back({k, p, k * 2 + p / 100});
    ref.setBetta(betta);
    ref.setG({{-80, 425}, {-40, 200}, {0, 100}, {20, 50}, {60, 10}});
    return ref;
}

// The adjacent blocks all at 20 °C, or each at its own temperature.
RunInputs inputs(int adjacent, bool ownTemperatures = false)
{
    RunInputs in;
    in.main.Name = QStringLiteral("Гексан");
    in.main.V_GF = 10;
    in.main.V_PGF = 5;
    in.main.Davl = 1.2;
    in.main.Temp = 90;
    in.main.Plotn_GF = 600;
    in.main.Plotn_PGF = 3;
    in.main.Adiab = 1.25;
    GeneralConditions& c = in.conditions;
    c.Zet = QStringLiteral("0,1");
    c.S_G = QStringLiteral("400");
    c.S_kontakt = 400;
    c.t_kontakt = 3600;
    c.Tempv = 25;
    c.Tg = 25;
    c.Tempp = 30;
    c.c = 0.84;
    c.p = 2200;
    c.Koef_teplopr = 1.5;
    c.Check2 = true;
    in.settings.A = 1;  // the β lookup
    for (int i = 0; i < adjacent; ++i) {
        BlockData b;
        b.Id = i + 2;
        b.Name = QStringLiteral("Пропан");
        b.V_GF = 1;
        b.V_PGF = 2;
        b.Davl = 0.5 + i * 0.1;
        b.Temp = ownTemperatures ? 20 + i * 0.5 : 20;
        b.Plotn_GF = 500;
        b.Plotn_PGF = 2;
        b.Adiab = 1.13;
        b.S_sech = 0.001;
        b.Koef_gidro = 0.6;
        b.t = 120;
        b.pVist = 340;
        b.pVistG = 340;
        b.Sk_teploper_GG = 4;
        b.t_P = 9;
        in.adjacent.push_back(b);
    }
    return in;
}

void BM_Run(benchmark::State& state)
{
    const MemoryReference ref = reference();
    const RunInputs in = inputs(static_cast<int>(state.range(0)));
    if (!succeeded(run(in, ref)))
        state.SkipWithError("the run stopped");
    for (auto _ : state) {
        RunOutcome out = run(in, ref);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Run)->Arg(0)->Arg(10)->Arg(49)->Unit(benchmark::kMicrosecond);

// 49 adjacent blocks at 49 temperatures: no term of one block repeats another's.
void BM_RunOwnTemperatures(benchmark::State& state)
{
    const MemoryReference ref = reference();
    const RunInputs in = inputs(49, true);
    if (!succeeded(run(in, ref)))
        state.SkipWithError("the run stopped");
    for (auto _ : state) {
        RunOutcome out = run(in, ref);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_RunOwnTemperatures)->Unit(benchmark::kMicrosecond);

// The same run stepping the spill evaporation one second at a time, for comparison.
void BM_SpillStepByStep(benchmark::State& state)
{
    for (auto _ : state) {
        SpillSteps s = evaporateFormula12(0.02, true, 400, 1e-4, 1e6, 3600, true);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_SpillStepByStep)->Unit(benchmark::kMicrosecond);

void BM_SpillSearch(benchmark::State& state)
{
    for (auto _ : state) {
        SpillSteps s = evaporateFormula12(0.02, true, 400, 1e-4, 1e6, 3600);
        benchmark::DoNotOptimize(s);
    }
}
BENCHMARK(BM_SpillSearch)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
