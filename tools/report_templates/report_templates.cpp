// Writes the state reports' templates into a folder (the application's app/reports/templates):
//     report_templates FOLDER
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "tools/report_templates/StateReportTemplates.h"

int main(int argc, char* argv[])
{
    // Report text is measured without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: report_templates FOLDER\n");
        return 2;
    }
    const QDir folder(arguments[1]);
    for (const TStateReportTemplate which : kStateReportTemplates) {
        const QString path = folder.filePath(StateReportFileName(which));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(WriteStateReportTemplate(which)) < 0 || !file.flush()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(file.errorString()));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
