#include "report/runtime/ReportContext.h"

void ResetReportContext()
{
    CurrentReport = nullptr;
    TemplateVersion = kCurrentTemplateVersion;
    RootReport = nullptr;
    CurrentPage = nullptr;
    CurrentBand = nullptr;
    CurrentView = nullptr;
    PrintModeFlag = false;
    FirstPassFlag = false;
    PrepareScanFlag = false;
    DialogCancelled = false;
    PageNo = 0;
    TotalPages = 0;
    CurDate = 0;
    CurTime = 0;
    CurValue = QVariant();
    CurExpression.clear();
    EvalGuardName.clear();
    ErrorFlag = false;
    ErrorText.clear();
    ReportHooks = TReportHooks{};
}
