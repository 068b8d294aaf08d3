#pragma once
// The main() of a benchmark that needs a Qt application object: QGuiApplication for fonts and
// images, QApplication for widgets. It draws off screen unless QT_QPA_PLATFORM names a platform.
#include <benchmark/benchmark.h>

#include <cstdlib>

template <class Application>
int RunQtBenchmarks(int argc, char** argv)
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0')
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
