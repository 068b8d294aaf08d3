// Prepared-report files of 2,000 pages of 50 framed memos each: saving and loading them beside
// writing and reading the same octets with a bare QFile, and unpacking a page's live objects.
#include <memory>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kPages = 2000;
constexpr int kMemosPerPage = 50;

struct Sample {
    Sample()
    {
        TrpPage* design = report.AddPage();
        design->ApplyPaper(kPaperA4, 0, 0, -1, poPortrait);
        auto* memo = static_cast<TrpMemoView*>(design->AddObject(std::make_unique<TrpMemoView>()));
        memo->FrameTyp = frAllSides;
        memo->PrintedForm = true;
        TrpEMFPages& pages = *report.EMFPages;
        for (int p = 0; p < kPages; ++p) {
            pages.AddPage(*design);
            for (int m = 0; m < kMemosPerPage; ++m) {
                memo->Name = QStringLiteral("Memo%1").arg(m);
                memo->SetBounds(18 + (m % 5) * 140, 18 + (m / 5) * 100, 140, 20);
                memo->Memo = QStringList{QStringLiteral("Силос %1, датчик %2: +%3,%4 °C").arg(p).arg(m).arg(m % 30).arg(p % 10)};
                memo->PrintToStream(pages.Page(p).ObjectStream);
            }
        }
        file = dir.filePath(QStringLiteral("sample.rpp"));
        pages.SaveToFile(file);
        QFile saved(file);
        saved.open(QIODevice::ReadOnly);
        octets = saved.readAll();
    }

    TrpRunContext context;
    TrpReport report{context};
    QTemporaryDir dir;
    QString file;
    QByteArray octets;
};

Sample& TheSample()
{
    static Sample sample;
    return sample;
}

void BM_SavePreparedReport(benchmark::State& state)
{
    Sample& s = TheSample();
    const QString path = s.dir.filePath(QStringLiteral("saved.rpp"));
    for (auto _ : state)
        s.report.EMFPages->SaveToFile(path);
    state.SetBytesProcessed(state.iterations() * s.octets.size());
}
BENCHMARK(BM_SavePreparedReport)->Unit(benchmark::kMillisecond);

void BM_SaveBareFile(benchmark::State& state)
{
    Sample& s = TheSample();
    const QString path = s.dir.filePath(QStringLiteral("bare.rpp"));
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(s.octets);
    }
    state.SetBytesProcessed(state.iterations() * s.octets.size());
}
BENCHMARK(BM_SaveBareFile)->Unit(benchmark::kMillisecond);

void BM_LoadPreparedReport(benchmark::State& state)
{
    Sample& s = TheSample();
    TrpReport reader(s.context);
    for (auto _ : state) {
        reader.EMFPages->LoadFromFile(s.file);
        benchmark::DoNotOptimize(reader.EMFPages->Count());
    }
    state.SetBytesProcessed(state.iterations() * s.octets.size());
}
BENCHMARK(BM_LoadPreparedReport)->Unit(benchmark::kMillisecond);

void BM_LoadBareFile(benchmark::State& state)
{
    Sample& s = TheSample();
    for (auto _ : state) {
        QFile file(s.file);
        file.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(file.readAll());
    }
    state.SetBytesProcessed(state.iterations() * s.octets.size());
}
BENCHMARK(BM_LoadBareFile)->Unit(benchmark::kMillisecond);

// Unpacking one page of 50 memos into live objects and releasing them, as the preview does for
// every page that scrolls into view.
void BM_LivePage(benchmark::State& state)
{
    Sample& s = TheSample();
    TrpEMFPages& pages = *s.report.EMFPages;
    int index = 0;
    for (auto _ : state) {
        pages.RestoreObjects(index);
        pages.ReleaseObjects(index);
        index = (index + 1) % pages.Count();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LivePage)->Unit(benchmark::kMicrosecond);

}  // namespace
