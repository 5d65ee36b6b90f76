// The main window's one-second tick during a chronometer run, the window shown: the counters,
// the cost, the alarms and the mini window brought up to date, then the event loop's pass
// that paints what changed. "painted" counts the widgets repainted a tick.

#include "app/application_title.h"
#include "app/ui/windows.h"
#include "base/clock.h"
#include "program_folder.h"
#include "widgets/tform1.h"

#include "qt_benchmark_main.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {
class PaintCounter : public QObject {
  public:
    int paints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType())
            ++paints;
        return false;
    }
};

void BM_MainWindowTick(benchmark::State& state) {
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("config")).toLocal8Bit());
    PrepareProgramFolder(folder, int(state.range(0)));
    SetApplicationTitle(QStringLiteral("Tallivo"));
    // The program's clock reads the local time as a fixed offset from UTC.
    ManualClock clock(QDateTime(QDate(2026, 12, 8), QTime(18, 0, 0), Qt::OffsetFromUTC, 3600));
    SetAppClock(&clock);
    CreateWindows();
    Form1->ShowInFront();
    Form1->SpeedButton2Click(); // the chronometer: a session without a modem
    Form1->Timer1->stop();      // ticked by hand below
    for (int i = 0; i < 3; ++i) // the first ticks lay the windows out
        QApplication::processEvents();
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    for (auto _ : state) {
        clock.advanceSeconds(1);
        Form1->Timer1Timer();
        QApplication::processEvents();
    }
    qApp->removeEventFilter(&counter);
    state.counters["painted"] =
        benchmark::Counter(counter.paints, benchmark::Counter::kAvgIterations);
    DestroyWindows();
    QApplication::processEvents();
    SetAppClock(nullptr);
    ProgramFiles::SetExecutablePathForTests({});
}
BENCHMARK(BM_MainWindowTick)->ArgName("rows")->Arg(10)->Arg(100000)->Unit(benchmark::kMicrosecond);
} // namespace

TALLIVO_WIDGETS_BENCHMARK_MAIN()
