// The main of a benchmark program that paints: a Qt application on the
// offscreen platform (unless another is asked for) around the benchmarks.
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

namespace vx::bench {

// before runs once the application exists, after before it goes; reporter,
// when given, reports instead of the console's.
inline int RunWithQtApplication(int argc, char** argv, const std::function<void()>& before = {},
                                const std::function<void()>& after = {},
                                benchmark::BenchmarkReporter* reporter = nullptr)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (before)
        before();
    if (reporter)
        benchmark::RunSpecifiedBenchmarks(reporter);
    else
        benchmark::RunSpecifiedBenchmarks();
    if (after)
        after();
    benchmark::Shutdown();
    return 0;
}

} // namespace vx::bench
