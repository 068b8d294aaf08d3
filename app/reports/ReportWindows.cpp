#include "app/reports/ReportWindows.h"

#include "report/ui/ExportDialogs.h"
#include "report/ui/FunctionDialogs.h"
#include "report/ui/PdfFileDialog.h"
#include "report/ui/ProgressForm.h"

void InstallReportWindows(TrpRunContext& context, QWidget& mainWindow)
{
    InstallFunctionDialogs(context, &mainWindow);
    InstallExportDialogs(context);
    InstallPdfFileDialog(context, &mainWindow);
    new TrpProgressForm(context, &mainWindow);
}
