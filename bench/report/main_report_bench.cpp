// The main calculation report of one run with 0, 10 and 49 adjacent blocks,
// template to finished .docx bytes, with the peak memory of the process.
#include "calc/engine.h"
#include "records/calculation_inputs.h"
#include "report/main_report.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using namespace veltron;

calc::MemoryReference reference()
{
    calc::MemoryReference ref;
    calc::SubstData hexane;
    hexane.Name = QStringLiteral("Гексан");
    hexane.Mol_massa = 86.18;
    hexane.T_kip = 68;
    hexane.Tvsp = -23;
    hexane.Tepl_sgorPGF = 45100;
    hexane.Tepl_paroobr = 335;
    hexane.Teploem_GF = 2.26;
    hexane.pA = 6.0;
    hexane.pB = 1170;
    hexane.pCa = 224;
    ref.addSubstance(hexane);
    return ref;
}

records::Block block(int id)
{
    records::Block b;
    b.Id = id;
    b.Name_blok = id == 1 ? QStringLiteral("Емкость Е-1") : QStringLiteral("Колонна К-%1").arg(id);
    b.Name = QStringLiteral("Гексан");
    b.V_GF = id == 1 ? 10 : 1;
    b.V_PGF = id == 1 ? 5 : 2;
    b.Davl = 0.6;
    b.Temp = 90;
    b.Plotn_GF = 650;
    b.Plotn_PGF = 2.5;
    b.Adiab = 1.1;
    b.S_sech = 0.001;
    b.Sk_teploper_GG = 10;
    b.Sk_teploper_GF = 20;
    b.Koef_gidro = 0.6;
    b.t = 60;
    b.t_P = 30;
    b.t_T = 40;
    b.formula = id % 4;  // every heat-inflow fragment
    b.pVist = 1000;
    b.pVistG = 100;
    return b;
}

report::MainReportData sample(int adjacent)
{
    records::CalculationInputs in;
    in.calculation = {1, QStringLiteral("Установка")};
    in.conditions.Name_poverhn = QStringLiteral("Бетон");
    in.conditions.Koef_teplopr = QStringLiteral("1,5");
    in.conditions.c = QStringLiteral("0,84");
    in.conditions.p = QStringLiteral("2000");
    in.conditions.t_kontakt = QStringLiteral("3600");
    in.conditions.S_kontakt = QStringLiteral("100");
    in.conditions.S_G = QStringLiteral("80");
    in.conditions.Tempp = QStringLiteral("75");
    in.settings.Pn = 3;
    in.main = block(1);
    for (int i = 0; i < adjacent; ++i)
        in.adjacent << block(i + 2);
    const auto engineInputs = std::get<calc::RunInputs>(records::runInputsOf(in));
    const auto result = std::get<calc::RaschResult>(calc::run(engineInputs, reference()));
    return {in, result, report::buildResultsView(result, in), NyuMemory{}};
}

void BM_MainReport(benchmark::State& state)
{
    const auto data = sample(int(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray document = report::buildMainReport(data);
        bytes = std::size_t(document.size());
        benchmark::DoNotOptimize(document.data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024;  // of the process so far
    state.counters["docx_KB"] = double(bytes) / 1024;
}
BENCHMARK(BM_MainReport)->Arg(0)->Arg(10)->Arg(49)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
