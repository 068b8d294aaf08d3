#include "report/ReportContext.h"

void ResetReportContext()
{
    CurrentReport = nullptr;
    TemplateVersion = kCurrentTemplateVersion;
    ReportHooks = TReportHooks{};
}
