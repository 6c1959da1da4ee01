// The register of blocks of 1 000 stored calculations: the runs, the file in
// each format and its writing, as "veltron-cli register --out FILE" does it.
// The store is made once by veltron-bench-generate.
#include "records/calculations.h"
#include "report/block_register.h"

#include <benchmark/benchmark.h>

#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

using namespace veltron;

struct Plant {
    QTemporaryDir dir;
    std::unique_ptr<db::Store> store;
    Plant()
    {
        db::Store::openEmbedded(dir.path());
        // With the example of the seed data: 1 000 calculations of 5 adjacent blocks.
        QProcess::execute(QStringLiteral(VELTRON_BENCH_GENERATE), {dir.path(), QStringLiteral("999")});
        store = db::Store::openEmbedded(dir.path());
    }
};

void BM_Register1000(benchmark::State& state)
{
    static Plant plant;
    const auto format = static_cast<report::RegisterFormat>(state.range(0));
    const QString path = plant.dir.filePath(QStringLiteral("перечень"));
    for (auto _ : state) {
        const report::BlockRegister reg =
            report::makeRegister(*plant.store, records::listCalculations(*plant.store));
        QSaveFile file(path);
        const QByteArray bytes = report::registerFile(reg, format, {});
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            state.SkipWithError("the register was not written");
        state.counters["rows"] = double(reg.rows.size());
    }
}
BENCHMARK(BM_Register1000)
    ->ArgName("docx_xlsx_csv")
    ->Arg(int(report::RegisterFormat::Docx))
    ->Arg(int(report::RegisterFormat::Xlsx))
    ->Arg(int(report::RegisterFormat::Csv))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
