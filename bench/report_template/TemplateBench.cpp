// A template of 200 objects (20 bands of 9 memos and a line) written and read, beside a bare
// loop that writes and reads the same object records without the template's frame; and a whole
// two-pass PrepareReport of 1,000 pages, beside the same page build run twice without the driver
// (no snapshot of the template, no restore), with the time of each pass.
#include <chrono>
#include <memory>

#include <QBuffer>
#include <QObject>

#include <benchmark/benchmark.h>

#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"
#include "report/objects/LineView.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kBands = 20;
constexpr int kMemosPerBand = 9;
constexpr int kRecords = 10000;   // ten rows of 100 units a page: 1,000 pages
constexpr int kRowHeight = 100;

TrpBandView* AddBand(TrpPage& page, int type, int top, int height)
{
    auto* band = static_cast<TrpBandView*>(page.AddObject(std::make_unique<TrpBandView>()));
    band->FrameTyp = uint16_t(type);
    band->SetBounds(0, top, 758, height);
    band->CreateUniqueName();
    return band;
}

TrpMemoView* AddMemo(TrpPage& page, int left, int top, const QString& text)
{
    auto* memo = static_cast<TrpMemoView*>(page.AddObject(std::make_unique<TrpMemoView>()));
    memo->SetBounds(left, top, 80, 18);
    memo->Memo = QStringList{text};
    memo->FrameTyp = frAllSides;
    memo->CreateUniqueName();
    return memo;
}

std::unique_ptr<TrpReport> MakeTemplate(TrpRunContext& context)
{
    auto report = std::make_unique<TrpReport>(context);
    TrpPage& page = *report->AddPage();
    for (int b = 0; b < kBands; ++b) {
        AddBand(page, btMasterData, b * 40, 40);
        for (int m = 0; m < kMemosPerBand; ++m)
            AddMemo(page, 10 + m * 82, b * 40, QStringLiteral("[dmReport.\"TD%1\"] °C").arg(m));
        auto* line = static_cast<TrpLineView*>(page.AddObject(std::make_unique<TrpLineView>()));
        line->SetBounds(0, b * 40 + 39, 758, 0);
    }
    return report;
}

void BM_TemplateWrite(benchmark::State& state)
{
    TrpRunContext context;
    auto report = MakeTemplate(context);
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        report->SaveToStream(buffer);
        benchmark::DoNotOptimize(buffer.data().size());
    }
    state.counters["objects"] = double(report->Pages.front()->Objects.size());
}
BENCHMARK(BM_TemplateWrite)->Unit(benchmark::kMicrosecond);

void BM_TemplateRead(benchmark::State& state)
{
    TrpRunContext context;
    QBuffer saved;
    saved.open(QIODevice::ReadWrite);
    MakeTemplate(context)->SaveToStream(saved);
    TrpReport report(context);
    for (auto _ : state) {
        saved.seek(0);
        report.LoadFromStream(saved);
    }
    state.counters["objects"] = double(report.Pages.front()->Objects.size());
}
BENCHMARK(BM_TemplateRead)->Unit(benchmark::kMicrosecond);

// The bare baseline: the same records, one after the other, written and read back into new
// objects of the same classes, without the frame, the offsets or the report information.
void BM_BareObjectRecords(benchmark::State& state)
{
    TrpRunContext context;
    auto source = MakeTemplate(context);
    TrpReport target(context);
    TrpPage& page = *target.AddPage();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        for (const auto& object : source->Pages.front()->Objects)
            object->SaveToStream(buffer);
        buffer.seek(0);
        page.Clear();
        for (const auto& object : source->Pages.front()->Objects) {
            std::unique_ptr<TrpView> copy;
            if (object->TypeCode == otBand)
                copy = std::make_unique<TrpBandView>();
            else if (object->TypeCode == otLine)
                copy = std::make_unique<TrpLineView>();
            else
                copy = std::make_unique<TrpMemoView>();
            page.AddObject(std::move(copy))->LoadFromStream(buffer);
        }
    }
}
BENCHMARK(BM_BareObjectRecords)->Unit(benchmark::kMicrosecond);

// A protocol of 10,000 records, ten to a page, with "page N of M" in the page footer.
struct Protocol {
    Protocol()
    {
        table.setObjectName(QStringLiteral("tbRows"));
        table.setParent(&owner);
        table.AddField(QStringLiteral("Silo"), ftString, 20);
        table.AddField(QStringLiteral("T"), ftFloat);
        table.Open();
        for (int r = 0; r < kRecords; ++r) {
            table.Append();
            table.Field(QStringLiteral("Silo"))->SetValue(QStringLiteral("Силос %1").arg(r / 36 + 1));
            table.Field(QStringLiteral("T"))->SetValue((r * 7 % 400 - 100) / 10.0);
            table.Post();
        }
        source.setParent(&owner);
        source.SetDataSet(&table);
    }

    std::unique_ptr<TrpReport> MakeReport(TrpRunContext& context)
    {
        auto report = std::make_unique<TrpReport>(context, &owner);
        report->Dataset = &source;
        report->TwoPass = true;
        report->ShowProgress = false;
        TrpPage& page = *report->AddPage();
        page.MarginsOn = false;
        AddBand(page, btMasterData, 0, kRowHeight);
        AddMemo(page, 10, 0, QStringLiteral("[tbRows.Silo]"));
        AddMemo(page, 100, 0, QStringLiteral("[tbRows.T]"));
        AddBand(page, btPageFooter, 1040, 30);
        AddMemo(page, 10, 1040, QStringLiteral("Страница [PAGE#] из [TOTALPAGES]"));
        return report;
    }

    QObject owner;
    TMemoryTable table;
    TrpDBDataSet source;
};

Protocol& Data()
{
    static Protocol data;
    return data;
}

void BM_PrepareReportTwoPass(benchmark::State& state)
{
    TrpRunContext context;
    auto report = Data().MakeReport(context);
    double firstPass = 0;
    double finalPass = 0;
    int pages = 0;
    for (auto _ : state) {
        // The passes are told apart by the first progress step of the final pass.
        Clock::time_point start = Clock::now();
        Clock::time_point finalStart{};
        Clock::time_point lastStep{};
        report->OnBeginDoc = [&] { start = Clock::now(); };
        report->OnProgress = [&](int) {
            lastStep = Clock::now();
            if (!context.FirstPassFlag && finalStart == Clock::time_point{})
                finalStart = lastStep;
        };
        if (!report->BuildReportPages())
            state.SkipWithError("the build failed");
        firstPass += std::chrono::duration<double, std::milli>(finalStart - start).count();
        finalPass += std::chrono::duration<double, std::milli>(lastStep - finalStart).count();
        pages = report->EMFPages->Count();
    }
    const double runs = double(state.iterations());
    state.counters["pages"] = pages;
    state.counters["first_pass_pages"] = context.TotalPages;
    state.counters["first_pass_ms"] = firstPass / runs;
    state.counters["final_pass_ms"] = finalPass / runs;
}
BENCHMARK(BM_PrepareReportTwoPass)->Unit(benchmark::kMillisecond);

// The bare baseline: the same page build run twice, as the driver's two passes do, without the
// template's snapshot and restore, the progress steps or the driver's bookkeeping.
void BM_BarePageBuildTwice(benchmark::State& state)
{
    TrpRunContext context;
    std::unique_ptr<TrpReport> report;
    double passMs[2] = {0, 0};
    for (auto _ : state) {
        // A fresh template each time, as the driver's restore gives one; made outside the time.
        state.PauseTiming();
        report.reset();
        report = Data().MakeReport(context);
        state.ResumeTiming();
        context.CurrentReport = context.RootReport = report.get();
        context.PrintModeFlag = true;
        report->BindParser();
        for (const bool first : {true, false}) {
            const Clock::time_point start = Clock::now();
            context.FirstPassFlag = first;
            report->FinalPass = !first;
            context.PageNo = 0;
            report->EMFPages->Clear();
            for (const auto& page : report->Pages)
                page->StartReport();
            for (const auto& page : report->Pages)
                page->PrepareObjects();
            for (const auto& page : report->Pages) {
                context.CurrentPage = page.get();
                page->BuildPage();
            }
            for (const auto& page : report->Pages)
                page->EndReport();
            context.TotalPages = report->EMFPages->Count();
            passMs[first ? 0 : 1] += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        }
    }
    state.counters["pages"] = report->EMFPages->Count();
    state.counters["first_pass_ms"] = passMs[0] / double(state.iterations());
    state.counters["final_pass_ms"] = passMs[1] / double(state.iterations());
}
BENCHMARK(BM_BarePageBuildTwice)->Unit(benchmark::kMillisecond);

}  // namespace
