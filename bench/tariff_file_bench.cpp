// Reading tariff files at the 1 MiB bound: one line of separators only (a million empty
// columns), and a quarter of a million short damaged lines.

#include "base/cell_grid.h"
#include "qt_benchmark_main.h"
#include "tariff/tariff_table.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
QString TariffFile(const QString& name, const QByteArray& contents) {
    static const QTemporaryDir folder;
    const QString fileName = folder.filePath(name);
    QFile file(fileName);
    file.open(QIODevice::WriteOnly);
    file.write(contents);
    return fileName;
}

void BM_LoadOneLineOfSeparators(benchmark::State& state) {
    const QString fileName =
        TariffFile(QStringLiteral("separators.csv"),
                   'A' + QByteArray(TariffTable::MaxFileSize - 3, ';') + "\r\n");
    for (auto _ : state) {
        TCellGrid grid;
        benchmark::DoNotOptimize(TariffTable::LoadFile(grid, fileName));
    }
}
BENCHMARK(BM_LoadOneLineOfSeparators)->Unit(benchmark::kMillisecond);

void BM_LoadManyDamagedLines(benchmark::State& state) {
    const QString fileName = TariffFile(QStringLiteral("damaged.csv"),
                                        QByteArray("a;b\r").repeated(TariffTable::MaxFileSize / 4));
    for (auto _ : state) {
        TCellGrid grid;
        benchmark::DoNotOptimize(TariffTable::LoadFile(grid, fileName));
    }
}
BENCHMARK(BM_LoadManyDamagedLines)->Unit(benchmark::kMillisecond);
} // namespace

TALLIVO_BENCHMARK_MAIN()
