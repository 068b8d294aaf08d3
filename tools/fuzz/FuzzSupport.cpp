#include "tools/fuzz/FuzzSupport.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

namespace {

int argc = 1;
char name[] = "fuzz";
char* argv[] = {name, nullptr};

} // namespace

void StartFuzzApplication(bool widgets)
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives as long as the process: a fuzz target never returns from libFuzzer's loop.
    if (widgets)
        new QApplication(argc, argv);
    else
        new QGuiApplication(argc, argv);
    // As in the program: numbers in files do not follow the user's locale.
    std::setlocale(LC_NUMERIC, "C");
}

QString ScratchPath(const QString& fileName)
{
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        auto made = std::make_unique<QTemporaryDir>();
        if (!made->isValid()) {
            std::fprintf(stderr, "no scratch folder: %s\n", qPrintable(made->errorString()));
            std::abort();
        }
        return made;
    }();
    return folder->filePath(fileName);
}

void WriteScratchFile(const QString& path, const QByteArray& octets)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(octets) != octets.size()) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        std::abort();
    }
}
