#include "app/reports/ReportWindows.h"

#include "report/ui/ExportDialogs.h"
#include "report/ui/FunctionDialogs.h"
#include "report/ui/PdfFileDialog.h"
#include "report/ui/PreviewForm.h"
#include "report/ui/ProgressForm.h"
#include "report/ui/RichForm.h"
#include "platform/qt/KeyValueStore.h"

void InstallReportWindows(TrpRunContext& context, QWidget& mainWindow)
{
    InstallFunctionDialogs(context, &mainWindow);
    InstallExportDialogs(context);
    InstallPdfFileDialog(context, &mainWindow);
    const auto store = std::make_shared<KeyValueStore>();
    InstallRichEditor(context, &mainWindow, store);
    InstallPreviewWindow(context, store);
    new TrpProgressForm(context, &mainWindow);
}
