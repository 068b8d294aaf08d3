// The program's main block.
#include <QApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QTextStream(stdout) << "Tavik_zuzid: the operator window is not built yet.\n";
    return 0;
}
