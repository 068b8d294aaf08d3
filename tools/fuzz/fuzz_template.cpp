// Report templates as the program reads them: the stream read into a report whose owner holds
// a small table (TSampleData), then the report built. The reader may refuse a template and a
// build may fail, both told in the engine's error box; anything else (a crash, undefined
// behaviour, an escaping error, a hang, memory without bound) is a fault.
#include <QBuffer>

#include "report/engine/Report.h"
#include "report/runtime/RunContext.h"
#include "tools/fuzz/FuzzSupport.h"
#include "tools/fuzz/SampleReport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    StartFuzzApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TSampleData owner;
    TrpRunContext context;
    context.MessageBox = [](const QString&, const QString&, int) { return 1; };
    TrpReport report(context, &owner);
    report.setObjectName(QStringLiteral("rpSample"));
    QBuffer stream;
    stream.setData(FuzzInput(data, size));
    stream.open(QIODevice::ReadOnly);
    if (!report.LoadFromStream(stream))
        return 0;
    report.ShowProgress = false;
    report.BuildReportPages();
    return 0;
}
