#pragma once
// main() of a benchmark that draws text or pictures: an offscreen GUI application must exist
// before the first font or image is made.

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#define ORVENA_QT_BENCHMARK_MAIN()               \
    int main(int argc, char** argv) {            \
        qputenv("QT_QPA_PLATFORM", "offscreen"); \
        QGuiApplication app(argc, argv);         \
        benchmark::Initialize(&argc, argv);      \
        benchmark::RunSpecifiedBenchmarks();     \
        benchmark::Shutdown();                   \
        return 0;                                \
    }
