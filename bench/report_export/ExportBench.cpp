// Text and RTF export of a 1,000-page temperature protocol (a title, a table of 30 framed rows of
// eight cells and a page footer on every page) beside writing the same octets with a bare
// QFile, line by line; and the walk over the pages that every export makes, with a filter that
// writes nothing.
#include <memory>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kPages = 1000;
constexpr int kRows = 30;
constexpr int kColumns = 8;

struct Protocol {
    Protocol()
    {
        TrpPage* design = report.AddPage();
        design->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
        auto* memo = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        memo->PrintedForm = true;
        memo->Font.Size = 9;
        TrpEMFPages& pages = *report.EMFPages;
        const auto print = [&](int page, QRect box, const QString& text, int frames, int32_t alignment) {
            memo->SetBounds(box.x(), box.y(), box.width(), box.height());
            memo->Memo = QStringList{text};
            memo->FrameTyp = uint16_t(frames);
            memo->Alignment = alignment;
            memo->PrintToStream(pages.Page(page).ObjectStream);
        };
        for (int p = 0; p < kPages; ++p) {
            pages.AddPage(*design);
            print(p, QRect(36, 18, 680, 24), QStringLiteral("Протокол температур на 12.03.2024 10:00"), 0, taCenter);
            for (int r = 0; r < kRows; ++r) {
                const int top = 60 + r * 18;
                print(p, QRect(36, top, 120, 18), QStringLiteral("Силос %1, подвеска %2").arg(p % 40 + 1).arg(r + 1),
                      frAllSides, taLeft);
                for (int c = 1; c < kColumns; ++c)
                    print(p, QRect(156 + (c - 1) * 80, top, 80, 18), QStringLiteral("%1,%2").arg((r * c + p) % 35).arg(c),
                          frAllSides, taRight);
            }
            print(p, QRect(36, 1000, 680, 18), QStringLiteral("Страница %1 из %2").arg(p + 1).arg(kPages), 0, taRight);
        }
    }

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    TrpRunContext context;
    TrpReport report{context};
    QTemporaryDir dir;
};

Protocol& TheProtocol()
{
    static Protocol protocol;
    return protocol;
}

// The lines of a file already written.
QList<QByteArray> LinesOf(const QString& fileName)
{
    QFile file(fileName);
    file.open(QIODevice::ReadOnly);
    return file.readAll().split('\n');
}

void Export(benchmark::State& state, TrpExportFilter& filter, const char* name)
{
    Protocol& p = TheProtocol();
    filter.ShowDialog = false;
    for (auto _ : state) {
        filter.BeginExport(p.Path(name));
        filter.WriteExport(*p.report.EMFPages);
    }
    state.counters["pages/s"] = benchmark::Counter(double(kPages) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["octets"] = double(QFile(p.Path(name)).size());
}

// The walk alone: every object read back and handed over, every memo laid out line by line.
void BM_PageWalk(benchmark::State& state)
{
    TrpExportFilter filter;
    Export(state, filter, "walk");
}

void BM_TextExport(benchmark::State& state)
{
    TrpTextExport filter(TheProtocol().context);
    filter.ExportFrames = filter.UsePseudographic = true;
    Export(state, filter, "protocol.txt");
}

void BM_RtfExport(benchmark::State& state)
{
    TrpRtfAdvExport filter(TheProtocol().context);
    Export(state, filter, "protocol.rtf");
}

// The same octets in the same lines, written with QFile alone.
void BareWrite(benchmark::State& state, const char* exported)
{
    Protocol& p = TheProtocol();
    const QList<QByteArray> lines = LinesOf(p.Path(exported));
    if (lines.size() <= 1) {
        state.SkipWithError("run the export benchmark first");
        return;
    }
    for (auto _ : state) {
        QFile file(p.Path("bare"));
        file.open(QIODevice::WriteOnly);
        for (const QByteArray& line : lines) {
            file.write(line);
            file.write("\n", 1);
        }
    }
    state.counters["pages/s"] = benchmark::Counter(double(kPages) * state.iterations(), benchmark::Counter::kIsRate);
}

void BM_BareTextWrite(benchmark::State& state)
{
    BareWrite(state, "protocol.txt");
}

void BM_BareRtfWrite(benchmark::State& state)
{
    BareWrite(state, "protocol.rtf");
}

} // namespace

BENCHMARK(BM_PageWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareTextWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RtfExport)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareRtfWrite)->Unit(benchmark::kMillisecond);
