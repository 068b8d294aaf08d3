// Export benchmarks: prepared pages into text and RTF files, printed into a PDF file, and painted
// by the preview.
#include "bench/common/QtBenchmarkMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return RunQtBenchmarks<QApplication>(argc, argv);
}
