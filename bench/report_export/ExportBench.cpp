// Text and RTF export of a 1,000-page temperature protocol beside writing the same octets with a bare
// QFile, line by line; and the walk over the pages that every export makes, with a filter that
// writes nothing.
#include <memory>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "ProtocolPages.h"
#include "report/engine/EMFPages.h"
#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"

namespace {

constexpr int kPages = 1000;

Protocol& TheProtocol()
{
    static Protocol protocol(kPages);
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
