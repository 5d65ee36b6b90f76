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
