// Start-up to the event loop, the splash's wait aside: the windows created on a program folder
// holding a journal of 0 or 100 000 rows, up to the first pass of the event loop (the main
// window painted when it shows). The program reads the journal during the splash's wait
// (second argument 1); the baseline reads it when the journal window is created (0).

#include "app/application_title.h"
#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "journal/journal_preload.h"
#include "journal_bench_data.h"
#include "widgets/tform1.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <optional>

namespace {
void PrepareProgramFolder(const QTemporaryDir& folder, int journalRows) {
    ProgramFiles::SetExecutablePathForTests(folder.filePath(QStringLiteral("tallivo")));
    IniFile settings(ProgramFiles::SettingsFileName());
    settings.WriteString(QStringLiteral("Dialup"), QStringLiteral("Provider"),
                         QStringLiteral("simulation"));
    settings.WriteString(QStringLiteral("MainW"), QStringLiteral("HeureAuto"), QStringLiteral("0"));
    QFile::remove(ProgramFiles::JournalFileName());
    if (journalRows > 0) {
        JournalStore store;
        FillJournal(store, journalRows);
        store.SaveJournalFile(ProgramFiles::JournalFileName());
    }
}

void BM_StartUpToEventLoop(benchmark::State& state) {
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    PrepareProgramFolder(folder, int(state.range(0)));
    SetApplicationTitle(QStringLiteral("Tallivo"));
    const bool preloaded = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::optional<JournalPreload> preload;
        if (preloaded) {
            preload.emplace(ProgramFiles::JournalFileName());
            QThread::msleep(2000); // the splash's wait, during which the journal is read
        }
        state.ResumeTiming();
        CreateWindows(preload ? &*preload : nullptr);
        // The first pass of the event loop: what start-up left queued runs, the shown
        // windows are painted.
        QTimer::singleShot(0, [] { QApplication::exit(0); });
        QApplication::exec();
        state.PauseTiming();
        DestroyWindows();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    ProgramFiles::SetExecutablePathForTests({});
}
BENCHMARK(BM_StartUpToEventLoop)
    ->ArgNames({"rows", "preload"})
    ->Args({0, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(5);
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
