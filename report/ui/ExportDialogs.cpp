#include "report/ui/ExportDialogs.h"

#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"
#include "report/runtime/ModalResult.h"
#include "report/runtime/RunContext.h"
#include "report/ui/RtfExportForm.h"
#include "report/ui/TextExportForm.h"

void InstallExportDialogs(TrpRunContext& context)
{
    context.ExportOptionsDialog = [](TrpExportFilter& filter) {
        if (auto* text = qobject_cast<TrpTextExport*>(&filter))
            return ShowTextExportOptions(*text);
        if (auto* rtf = qobject_cast<TrpRtfAdvExport*>(&filter))
            return ShowRtfExportOptions(*rtf);
        return int(mrOk);
    };
}
