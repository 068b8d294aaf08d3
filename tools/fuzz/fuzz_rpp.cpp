// Prepared reports (.rpp) as the preview opens them: the file read, each page's objects restored
// and drawn, and the pages exported as text and as RTF. The engine may refuse a damaged file or
// stop an export with one of its own errors; anything else (a crash, undefined behaviour, an
// error of another kind, a hang, memory without bound) is a fault.
#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "base/Exception.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"
#include "report/runtime/RunContext.h"
#include "tools/fuzz/FuzzSupport.h"

namespace {

void DrawPages(TrpEMFPages& pages)
{
    QImage image(210, 297, QImage::Format_RGB32);
    for (int i = 0; i < pages.Count(); ++i) {
        QPainter painter(&image);
        pages.Page(i).Visible = true;
        try {
            pages.Draw(i, painter, image.rect());
        } catch (const Exception&) {
        }
        pages.Page(i).Visible = false;
    }
}

void Export(TrpReport& report, TrpExportFilter& filter, const QString& fileName)
{
    try {
        report.RunExport(filter, ScratchPath(fileName));
    } catch (const Exception&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TrpRunContext context;
    TrpReport report(context);
    QBuffer file;
    file.setData(FuzzInput(data, size));
    file.open(QIODevice::ReadOnly);
    try {
        report.EMFPages->LoadFromStream(&file);
    } catch (const Exception&) {
        return 0;
    }
    DrawPages(*report.EMFPages);
    TrpTextExport text(context);
    text.ExportFrames = true;
    Export(report, text, QStringLiteral("out.txt"));
    TrpRtfAdvExport rtf(context);
    Export(report, rtf, QStringLiteral("out.rtf"));
    return 0;
}
