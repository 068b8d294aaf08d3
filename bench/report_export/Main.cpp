// Export benchmarks: prepared pages into text and RTF files, and painted by the preview.
#include <cstdlib>

#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    // Fonts and the preview window need an application object; the benchmark needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
