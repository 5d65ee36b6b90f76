// Start-up to the event loop, the splash's wait aside: the windows created on a program folder
// holding a journal of 0 or 100 000 rows, up to the first pass of the event loop (the main
// window painted when it shows). The program reads the journal during the splash's wait
// (second argument 1); the baseline reads it when the journal window is created (0).
// BM_ProgramStartUpToEventLoop times the real program as a whole process, from its launch to
// its first pass of the event loop, less the splash's wait (which it logs).

#include "app/application_title.h"
#include "app/ui/windows.h"
#include "base/ini_file.h"
#include "base/program_files.h"
#include "journal/journal_preload.h"
#include "journal_bench_data.h"
#include "program_folder.h"
#include "widgets/tform1.h"

#include "qt_benchmark_main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <optional>

namespace {
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
void BM_ProgramStartUpToEventLoop(benchmark::State& state) {
    QTemporaryDir folder;
    PrepareProgramFolder(folder, int(state.range(0)));
    // A copy beside its files, as a portable install: the program keeps them in its folder.
    const QString program = folder.filePath(QStringLiteral("tallivo"));
    QFile::copy(QStringLiteral(TALLIVO_PROGRAM_PATH), program);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_LOGGING_RULES"),
                       QStringLiteral("tallivo.startup.debug=true"));
    environment.insert(QStringLiteral("HOME"), folder.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       folder.filePath(QStringLiteral("config")));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setReadChannel(QProcess::StandardError);
        QElapsedTimer wall;
        wall.start();
        process.start(program, {});
        QByteArray log;
        static const QRegularExpression reached(
            QStringLiteral("event loop reached after (\\d+) ms, of which (\\d+) ms splash wait"));
        QRegularExpressionMatch match;
        while (!match.hasMatch() && process.waitForReadyRead(20000)) {
            log += process.readAllStandardError();
            match = reached.match(QString::fromUtf8(log));
        }
        const double seconds = wall.nsecsElapsed() / 1e9;
        process.terminate();
        process.waitForFinished(10000);
        if (!match.hasMatch()) {
            state.SkipWithError("the program did not reach its event loop");
            break;
        }
        state.SetIterationTime(seconds - match.captured(2).toDouble() / 1000.0);
    }
    ProgramFiles::SetExecutablePathForTests({});
}
BENCHMARK(BM_ProgramStartUpToEventLoop)
    ->ArgName("rows")
    ->Arg(0)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);
} // namespace

TALLIVO_WIDGETS_BENCHMARK_MAIN()
