// Cost of a long rich text split across pages: measured once, then asked for its rest and
// printed part by part, as the band engine does page after page, each paragraph holding an
// expression. Beside it, Qt bare: the same text laid out once at the same width.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QBuffer>

#include "report/engine/Report.h"
#include "report/file/RtfReader.h"
#include "report/objects/RichView.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kWidth = 600;
constexpr int kPartHeight = 1000;

QByteArray LongRtf(int paragraphs)
{
    QByteArray rtf("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0\\fs24 ");
    for (int i = 1; i <= paragraphs; ++i)
        rtf += (i > 1 ? "\\par " : "") + QByteArray::number(i) +
               " \\'d2\\'e5\\'ec\\'ef\\'e5\\'f0\\'e0\\'f2\\'f3\\'f0\\'e0 {\\b [FIELD]} C";
    return rtf + "}";
}

class RichSplit {
public:
    explicit RichSplit(int paragraphs)
    {
        page = report.AddPage();
        context.CurrentReport = context.RootReport = &report;
        context.CurrentPage = page;
        context.PrintModeFlag = true;
        report.BindParser();
        report.OnGetValue = [](const QString& name, QVariant& value) {
            if (name == QLatin1String("FIELD"))
                value = 12.5;
        };
        rich = static_cast<TrpRichView*>(page->AddObject(std::make_unique<TrpRichView>()));
        rich->PrintedForm = true;
        rich->SetBounds(0, 0, kWidth, kPartHeight);
        ReadRtf(LongRtf(paragraphs), *rich->RichEdit);
    }

    // Every part printed; the number of parts.
    int PrintAllParts()
    {
        const int whole = rich->CalcHeight();
        int parts = 0;
        for (int left = whole; left > 0 && parts < 10000; ++parts) {
            rich->Height = kPartHeight;
            const int rest = rich->RestHeight();
            rich->PassMode = pmPartFits;
            QBuffer entry;
            entry.open(QIODevice::WriteOnly);
            rich->PrintToStream(entry);
            left = left - kPartHeight + rest;
        }
        return parts;
    }

    TrpRunContext context;
    TrpReport report{context};
    TrpPage* page = nullptr;
    TrpRichView* rich = nullptr;
};

void BM_RichTextSplitAcrossPages(benchmark::State& state)
{
    RichSplit split(int(state.range(0)));
    int parts = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(parts = split.PrintAllParts());
    state.counters["parts"] = parts;
}
BENCHMARK(BM_RichTextSplitAcrossPages)->Arg(200)->Arg(3000)->Unit(benchmark::kMillisecond);

// Bare: Qt lays the same text out once at the same width.
void BM_BareQtLayoutOfTheSameText(benchmark::State& state)
{
    RichSplit split(int(state.range(0)));
    for (auto _ : state) {
        std::unique_ptr<QTextDocument> text(split.rich->RichEdit->clone());
        text->documentLayout()->setPaintDevice(&split.context.ScratchBitmap);
        text->setTextWidth(kWidth);
        benchmark::DoNotOptimize(text->documentLayout()->documentSize());
    }
}
BENCHMARK(BM_BareQtLayoutOfTheSameText)->Arg(200)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
