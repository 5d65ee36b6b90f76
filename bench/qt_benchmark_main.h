#pragma once

#include <QCoreApplication>
#include <benchmark/benchmark.h>

// The benchmarks' main(): the program's core needs a Qt application object.
#define TALLIVO_BENCHMARK_MAIN()                                                                   \
    int main(int argc, char** argv) {                                                              \
        QCoreApplication application(argc, argv);                                                  \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }

// The window benchmarks' main(): a widget application, offscreen unless a platform is given,
// whose windows closing does not end it.
#define TALLIVO_WIDGETS_BENCHMARK_MAIN()                                                           \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication application(argc, argv);                                                      \
        QApplication::setQuitOnLastWindowClosed(false);                                            \
        benchmark::Initialize(&argc, argv);                                                        \
        benchmark::RunSpecifiedBenchmarks();                                                       \
        benchmark::Shutdown();                                                                     \
        return 0;                                                                                  \
    }
