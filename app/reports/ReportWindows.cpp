#include "app/reports/ReportWindows.h"

#include "report/ui/ExportDialogs.h"
#include "report/ui/FunctionDialogs.h"
#include "report/ui/PdfFileDialog.h"
#include "report/ui/ProgressForm.h"
#include "report/ui/RichForm.h"
#include "platform/qt/KeyValueStore.h"

void InstallReportWindows(TrpRunContext& context, QWidget& mainWindow)
{
    InstallFunctionDialogs(context, &mainWindow);
    InstallExportDialogs(context);
    InstallPdfFileDialog(context, &mainWindow);
    InstallRichEditor(context, &mainWindow, std::make_shared<KeyValueStore>());
    new TrpProgressForm(context, &mainWindow);
}
