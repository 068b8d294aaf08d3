// Template and driver benchmarks: reading and writing a template, and a whole two-pass build.
#include "bench/common/QtBenchmarkMain.h"

#include <QGuiApplication>

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QGuiApplication>(argc, argv);
}
