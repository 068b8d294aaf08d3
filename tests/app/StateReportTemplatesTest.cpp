// The state reports' templates the program carries: the very streams the generator writes from
// its tables, and streams the template reader takes whole.
#include "app/reports/ReportTemplates.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"
#include "tools/report_templates/StateReportTemplates.h"

#include <gtest/gtest.h>

namespace {

TEST(StateReportTemplates, ShippedTemplatesAreWhatTheGeneratorWrites)
{
    for (const TStateReportTemplate which : kStateReportTemplates) {
        SCOPED_TRACE(StateReportName(which).toStdString());
        const QByteArray shipped = StateReportTemplate(StateReportName(which));
        const QByteArray written = WriteStateReportTemplate(which);
        ASSERT_FALSE(shipped.isEmpty());
        // Only the time of writing differs, at the very end.
        EXPECT_EQ(shipped.size(), written.size());
        EXPECT_EQ(shipped.chopped(kLastChangeOctets), written.chopped(kLastChangeOctets))
            << "run: report_templates app/reports/templates";
    }
}

TEST(StateReportTemplates, ShippedTemplatesReadWhole)
{
    TrpRunContext context;
    QStringList errors;
    context.OnLog = [&](const QString& message) { errors << message; };
    for (const TStateReportTemplate which : kStateReportTemplates) {
        SCOPED_TRACE(StateReportName(which).toStdString());
        TrpReport report(context);
        report.setObjectName(StateReportName(which));
        EXPECT_TRUE(LoadStateReportTemplate(report));
        ASSERT_EQ(report.Pages.size(), 1u);
        EXPECT_EQ(report.PrinterName, QLatin1String(kTemplatePrinter));
        EXPECT_NE(report.FindObject(QStringLiteral("fTD6")), nullptr);
        EXPECT_NE(report.FindObject(QStringLiteral("Memo6")), nullptr);
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

}  // namespace
