#include "app/reports/ReportTemplates.h"

#include <QBuffer>
#include <QFile>

#include "report/engine/Report.h"

// Resources of a static library are registered by name, outside any namespace.
static void RegisterStateReportResources()
{
    Q_INIT_RESOURCE(StateReports);
}

QByteArray StateReportTemplate(const QString& reportName)
{
    RegisterStateReportResources();
    QFile file(QStringLiteral(":/reports/%1.template").arg(reportName));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool LoadStateReportTemplate(TrpReport& report)
{
    QByteArray octets = StateReportTemplate(report.objectName());
    QBuffer stream(&octets);
    stream.open(QIODevice::ReadOnly);
    return !octets.isEmpty() && report.LoadFromStream(stream);
}
