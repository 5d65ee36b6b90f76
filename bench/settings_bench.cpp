// The reads of a start-up (40 keys) from a settings file holding a value just under the
// 1 MiB bound, and from one far beyond it; a batch save of 30 keys into the large one.

#include "base/ini_file.h"
#include "qt_benchmark_main.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace {
const QTemporaryDir& Folder() {
    static const QTemporaryDir folder;
    return folder;
}

QString SettingsWithValueOf(qint64 bytes) {
    const QString name = Folder().filePath(QStringLiteral("tallivo-%1.ini").arg(bytes));
    if (!QFile::exists(name)) {
        QFile file(name);
        file.open(QIODevice::WriteOnly);
        file.write("[MainW]\nComboBox1=1\n[Last]\nHost=time.example\nGros=");
        for (qint64 written = 0; written < bytes; written += 1024 * 1024)
            file.write(QByteArray(std::min<qint64>(bytes - written, 1024 * 1024), 'x'));
        file.write("\n");
        // An old file: its reads are kept until it changes.
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                         QFileDevice::FileModificationTime);
    }
    return name;
}

void ReadStartUpKeys(const IniFile& settings) {
    for (int i = 0; i < 20; ++i) {
        benchmark::DoNotOptimize(
            settings.ReadInteger(QStringLiteral("MainW"), QStringLiteral("ComboBox1"), 0));
        benchmark::DoNotOptimize(
            settings.ReadString(QStringLiteral("Last"), QStringLiteral("Host"), {}));
    }
}

void BM_StartUpReadsNearTheBound(benchmark::State& state) {
    const IniFile settings(SettingsWithValueOf(1000 * 1000));
    for (auto _ : state)
        ReadStartUpKeys(settings);
}
BENCHMARK(BM_StartUpReadsNearTheBound)->Unit(benchmark::kMillisecond);

void BM_StartUpReadsWithA100MBValue(benchmark::State& state) {
    const IniFile settings(SettingsWithValueOf(100 * 1000 * 1000));
    for (auto _ : state)
        ReadStartUpKeys(settings);
}
BENCHMARK(BM_StartUpReadsWithA100MBValue)->Unit(benchmark::kMillisecond);

void BM_BatchSaveNearTheBound(benchmark::State& state) {
    IniFile settings(SettingsWithValueOf(1000 * 1000));
    for (auto _ : state) {
        settings.BeginBatch();
        for (int i = 0; i < 30; ++i)
            settings.WriteInteger(QStringLiteral("Last"), QStringLiteral("K%1").arg(i), i);
        settings.CommitBatch();
    }
}
BENCHMARK(BM_BatchSaveNearTheBound)->Unit(benchmark::kMillisecond);
} // namespace

TALLIVO_BENCHMARK_MAIN()
