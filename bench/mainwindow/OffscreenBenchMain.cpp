// The main function of the window benchmarks: real widgets on Qt's offscreen platform, so the
// figures need no display and include no window system.

#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
