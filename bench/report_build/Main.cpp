// Report build benchmarks: prepared pages and their files here; the build itself beside them.
#include "bench/common/QtBenchmarkMain.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QGuiApplication>(argc, argv);
}
