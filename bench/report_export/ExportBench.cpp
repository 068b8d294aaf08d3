// Text and RTF export of a 1,000-page temperature protocol, each side by side in every iteration
// with a bare writer of the same octets: the file the export just wrote, written again line by
// line with QFile alone. The time shown is the export's; "pages/s" is the export's rate,
// "bare pages/s" the bare writer's, "ratio" the export's rate over the bare writer's. Also the
// walk over the pages that every export makes, with a filter that writes nothing, and that walk
// without the memos' text laid out: the objects only read back and handed over.
#include <chrono>
#include <memory>

#include <QFile>

#include <benchmark/benchmark.h>

#include "ProtocolPages.h"
#include "report/engine/EMFPages.h"
#include "report/export/RtfAdvExport.h"
#include "report/export/TextExport.h"

namespace {

constexpr int kPages = 1000;

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The pages live for one benchmark, inside the application's life.
class ExportBench : public benchmark::Fixture {
public:
    void SetUp(benchmark::State&) override { protocol = std::make_unique<Protocol>(kPages); }
    void TearDown(benchmark::State&) override { protocol.reset(); }

protected:
    // The export into the file, timed, beside the bare writer of what it wrote.
    void ExportBesideBare(benchmark::State& state, TrpExportFilter& filter, const char* name)
    {
        filter.ShowDialog = false;
        const QString path = protocol->Path(name);
        double exportSeconds = 0;
        double bareSeconds = 0;
        for (auto _ : state) {
            auto start = std::chrono::steady_clock::now();
            filter.BeginExport(path);
            filter.WriteExport(*protocol->report.EMFPages);
            const double seconds = Seconds(start);
            exportSeconds += seconds;
            state.SetIterationTime(seconds);

            const QList<QByteArray> lines = LinesOf(path);
            start = std::chrono::steady_clock::now();
            BareWrite(lines, protocol->Path("bare"));
            bareSeconds += Seconds(start);
        }
        const double pages = double(kPages) * double(state.iterations());
        state.counters["pages/s"] = pages / exportSeconds;
        state.counters["bare pages/s"] = pages / bareSeconds;
        state.counters["ratio"] = bareSeconds / exportSeconds;
        state.counters["octets"] = double(QFile(path).size());
    }

    // Every page through a filter that writes nothing of its own.
    void WalkPages(benchmark::State& state, TrpExportFilter& filter, const char* name)
    {
        for (auto _ : state) {
            filter.BeginExport(protocol->Path(name));
            filter.WriteExport(*protocol->report.EMFPages);
        }
        state.counters["pages/s"] = benchmark::Counter(
            double(kPages) * double(state.iterations()), benchmark::Counter::kIsRate);
    }

    std::unique_ptr<Protocol> protocol;

private:
    static QList<QByteArray> LinesOf(const QString& fileName)
    {
        QFile file(fileName);
        file.open(QIODevice::ReadOnly);
        return file.readAll().split('\n');
    }

    // The same octets in the same lines, written with QFile alone.
    static void BareWrite(const QList<QByteArray>& lines, const QString& fileName)
    {
        QFile file(fileName);
        file.open(QIODevice::WriteOnly);
        for (qsizetype i = 0; i < lines.size(); ++i) {
            file.write(lines[i]);
            if (i + 1 < lines.size())
                file.write("\n", 1);
        }
    }
};

// The walk alone: every object read back and handed over, every memo laid out line by line.
BENCHMARK_DEFINE_F(ExportBench, PageWalk)(benchmark::State& state)
{
    TrpExportFilter filter;
    WalkPages(state, filter, "walk");
}

// A filter that takes the objects but not their text lines, as the RTF export.
class TObjectsOnly : public TrpExportFilter {
public:
    bool TakesTextLines() const override { return false; }
};

BENCHMARK_DEFINE_F(ExportBench, PageRead)(benchmark::State& state)
{
    TObjectsOnly filter;
    WalkPages(state, filter, "read");
}

BENCHMARK_DEFINE_F(ExportBench, TextExport)(benchmark::State& state)
{
    TrpTextExport filter(protocol->context);
    filter.ExportFrames = filter.UsePseudographic = true;
    ExportBesideBare(state, filter, "protocol.txt");
}

BENCHMARK_DEFINE_F(ExportBench, RtfExport)(benchmark::State& state)
{
    TrpRtfAdvExport filter(protocol->context);
    ExportBesideBare(state, filter, "protocol.rtf");
}

} // namespace

BENCHMARK_REGISTER_F(ExportBench, PageWalk)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(ExportBench, PageRead)->Unit(benchmark::kMillisecond);
BENCHMARK_REGISTER_F(ExportBench, TextExport)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK_REGISTER_F(ExportBench, RtfExport)->Unit(benchmark::kMillisecond)->UseManualTime();
