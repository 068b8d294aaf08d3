// The page build of a one-column list: 10,000 records of 8 framed memos between a page header
// and a page footer on the virtual printer's A4 page (about 200 prepared pages), beside a bare
// loop that prints the same memos with the same texts at the same places without the engine.
#include <memory>

#include <QObject>

#include <benchmark/benchmark.h>

#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"
#include "report/objects/MemoView.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kRecords = 10000;
constexpr int kColumns = 8;
constexpr int kRowHeight = 20;
constexpr int kCellWidth = 90;

struct ListData {
    ListData()
    {
        table.setObjectName(QStringLiteral("tbRows"));
        table.setParent(&owner);
        table.AddField(QStringLiteral("Silo"), ftString, 20);
        for (int c = 1; c < kColumns; ++c)
            table.AddField(QStringLiteral("T%1").arg(c), ftFloat);
        table.Open();
        for (int r = 0; r < kRecords; ++r) {
            table.Append();
            table.Field(QStringLiteral("Silo"))->SetValue(QStringLiteral("Силос %1").arg(r / 36 + 1));
            for (int c = 1; c < kColumns; ++c)
                table.Field(QStringLiteral("T%1").arg(c))->SetValue(((r * 7 + c * 13) % 400 - 100) / 10.0);
            table.Post();
        }
        source.setParent(&owner);
        source.SetDataSet(&table);
    }

    static QString CellText(int column)
    {
        return column == 0 ? QStringLiteral("[tbRows.Silo]") : QStringLiteral("[tbRows.T%1]").arg(column);
    }

    QObject owner;
    TMemoryTable table;
    TrpDBDataSet source;
};

ListData& Data()
{
    static ListData data;
    return data;
}

TrpMemoView* AddMemo(TrpPage& page, int left, int top, int width, const QString& text)
{
    auto* memo = static_cast<TrpMemoView*>(page.AddObject(std::make_unique<TrpMemoView>()));
    memo->SetBounds(left, top, width, kRowHeight);
    memo->Memo = QStringList{text};
    memo->FrameTyp = frAllSides;
    memo->Flags = 0;
    memo->Name = QStringLiteral("Memo%1").arg(page.Objects.size());
    return memo;
}

void AddBand(TrpPage& page, int type, int top)
{
    auto* band = static_cast<TrpBandView*>(page.AddObject(std::make_unique<TrpBandView>()));
    band->FrameTyp = uint16_t(type);
    band->SetBounds(0, top, 758, kRowHeight);
    band->Name = QStringLiteral("Band%1").arg(page.Objects.size());
}

// The template, made anew for every build (a build changes its template).
std::unique_ptr<TrpReport> MakeList(TrpRunContext& context)
{
    auto report = std::make_unique<TrpReport>(context, &Data().owner);
    report->Dataset = &Data().source;
    TrpPage& page = *report->AddPage();
    page.MarginsOn = false;
    AddBand(page, btPageHeader, 0);
    AddMemo(page, 10, 0, 400, QStringLiteral("Протокол, страница [PAGE#]"));
    AddBand(page, btMasterData, 40);
    for (int c = 0; c < kColumns; ++c)
        AddMemo(page, 10 + c * kCellWidth, 40, kCellWidth, ListData::CellText(c));
    AddBand(page, btPageFooter, 80);
    AddMemo(page, 10, 80, 400, QStringLiteral("Подвал"));
    return report;
}

// One pass of the page build, as the driver runs it.
void BuildPages(TrpRunContext& context, TrpReport& report)
{
    context.CurrentReport = context.RootReport = &report;
    context.PrintModeFlag = true;
    context.PageNo = 0;
    report.BindParser();
    for (const auto& page : report.Pages)
        page->StartReport();
    for (const auto& page : report.Pages)
        page->PrepareObjects();
    for (const auto& page : report.Pages) {
        context.CurrentPage = page.get();
        page->BuildPage();
    }
    for (const auto& page : report.Pages)
        page->EndReport();
}

// Templates are freed outside the time measured.
void FreeUntimed(benchmark::State& state, std::unique_ptr<TrpReport>& report)
{
    state.PauseTiming();
    report.reset();
    state.ResumeTiming();
}

void CountPages(benchmark::State& state, int pages)
{
    state.counters["pages"] = pages;
    state.counters["pages/s"] = benchmark::Counter(double(pages) * double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_BuildListPages(benchmark::State& state)
{
    TrpRunContext context;
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TrpReport> report = MakeList(context);
        state.ResumeTiming();
        BuildPages(context, *report);
        pages = report->EMFPages->Count();
        FreeUntimed(state, report);
    }
    CountPages(state, pages);
}
BENCHMARK(BM_BuildListPages)->Unit(benchmark::kMillisecond);

// The bare baseline: the same memos printed into the same number of pages, their texts read
// straight from the table, without bands, expressions or page checks.
void BM_BareListPages(benchmark::State& state)
{
    TrpRunContext context;
    ListData& data = Data();
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TrpReport> report = MakeList(context);
        TrpPage& design = *report->Pages.front();
        std::vector<TrpMemoView*> cells;
        for (const auto& object : design.Objects)
            if (object->TypeCode == otMemo)
                cells.push_back(static_cast<TrpMemoView*>(object.get()));
        for (TrpMemoView* memo : cells)
            memo->PrintedForm = true;
        context.CurrentReport = context.RootReport = report.get();
        context.PrintModeFlag = true;
        state.ResumeTiming();
        TrpEMFPages& prepared = *report->EMFPages;
        const int footerTop = 1071 - kRowHeight;
        int y = footerTop;
        int page = -1;
        for (data.table.First(); !data.table.Eof(); data.table.Next()) {
            if (y + kRowHeight > footerTop) {
                if (page >= 0) {
                    cells.back()->Top = footerTop;
                    cells.back()->PrintToStream(prepared.Page(page).ObjectStream);
                }
                prepared.AddPage(design);
                ++page;
                cells.front()->Top = 0;
                cells.front()->Memo = QStringList{QStringLiteral("Протокол, страница %1").arg(page + 1)};
                cells.front()->PrintToStream(prepared.Page(page).ObjectStream);
                y = kRowHeight;
            }
            for (int c = 0; c < kColumns; ++c) {
                TrpMemoView* memo = cells[size_t(c + 1)];
                memo->Top = y;
                memo->Memo = QStringList{data.table.FieldAt(c)->DisplayText()};
                memo->PrintToStream(prepared.Page(page).ObjectStream);
            }
            y += kRowHeight;
        }
        cells.back()->Top = footerTop;
        cells.back()->PrintToStream(prepared.Page(page).ObjectStream);
        pages = prepared.Count();
        FreeUntimed(state, report);
    }
    CountPages(state, pages);
}
BENCHMARK(BM_BareListPages)->Unit(benchmark::kMillisecond);

}  // namespace
