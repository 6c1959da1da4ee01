// The appendix report made from one run, template to finished .docx bytes;
// main() of the report benchmarks.
#include "report/appendix_report.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

namespace {

veltron::report::AppendixData sampleAppendix()
{
    using namespace veltron;
    calc::RaschResult r;
    r.m = 6514.22;
    r.Q = 46000;
    r.Wt = 2946.384;
    r.R0 = 14.34;
    r.Zn_kategor = QStringLiteral("II");
    const double K[] = {3.8, 5.6, 9.6, 28, 56};
    for (int i = 0; i < 5; ++i)
        r.Rzone[i] = K[i] * r.R0;
    report::AppendixData d;
    d.result = r;
    d.view = report::buildResultsView(r, {});
    d.z = 0.1;
    d.blockName = QStringLiteral("Емкость Е-1");
    d.calculator = report::overpressure(5, r.R0);
    d.row6 = d.calculator->row6;
    return d;
}

void BM_AppendixReport(benchmark::State& state)
{
    const auto data = sampleAppendix();
    for (auto _ : state)
        benchmark::DoNotOptimize(veltron::report::buildAppendixReport(data));
}
BENCHMARK(BM_AppendixReport)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

int main(int argc, char** argv)
{
    // The appendix carries the zone map, drawn with the fonts of the GUI part of Qt.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("VELTRON_TEMPLATES"))
        qputenv("VELTRON_TEMPLATES", VELTRON_BUILD_TEMPLATES);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
