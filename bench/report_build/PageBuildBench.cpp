// The page build of a one-column list: 10,000 records of 8 framed memos between a page header
// and a page footer on the virtual printer's A4 page (about 200 prepared pages), beside a bare
// loop that writes the same memos' entries, octet for octet, without the engine.
#include <memory>
#include <vector>

#include <QByteArray>
#include <QObject>

#include <benchmark/benchmark.h>

#include "report/data/DBDataSet.h"
#include "report/data/MemoryTable.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
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

// The objects' entries of every prepared page.
std::vector<QByteArray> PageOctets(const TrpEMFPages& pages)
{
    std::vector<QByteArray> octets;
    for (int i = 0; i < pages.Count(); ++i)
        octets.push_back(pages.Page(i).ObjectStream.data());
    return octets;
}

// The bare baseline does the work a build cannot do without: each memo's text made from its
// value as the engine makes it, the memo placed on its page and its entry written, pages added
// as they fill; without bands, expression scanning, name look-ups, scripts or page checks.
// It writes the very octets of the build: the first run compares them.
class BareList {
public:
    BareList(TrpRunContext& context) : report_(MakeList(context)), design_(*report_->Pages.front())
    {
        for (const auto& object : design_.Objects)
            if (object->TypeCode == otMemo)
                cells_.push_back(static_cast<TrpMemoView*>(object.get()));
        for (TrpMemoView* memo : cells_)
            memo->PrintedForm = true;
        context.CurrentReport = context.RootReport = report_.get();
        context.PrintModeFlag = true;
    }

    TrpEMFPages& Pages() { return *report_->EMFPages; }

    void Build(TrpRunContext& context)
    {
        TMemoryTable& table = Data().table;
        TrpEMFPages& prepared = Pages();
        const int footerTop = 1071 - kRowHeight;
        int y = footerTop;
        QIODevice* stream = nullptr;
        for (table.First(); !table.Eof(); table.Next()) {
            if (y + kRowHeight > footerTop) {
                if (stream)
                    Print(cells_.back(), footerTop, cells_.back()->Memo.front(), *stream);
                prepared.AddPage(design_);
                stream = &prepared.Page(prepared.Count() - 1).ObjectStream;
                Print(cells_.front(), 0, QStringLiteral("Протокол, страница %1").arg(prepared.Count()), *stream);
                y = kRowHeight;
            }
            for (int c = 0; c < kColumns; ++c) {
                const QVariant value = table.FieldAt(c)->Value();
                const QString text = VarKind(value) == TVarKind::Real
                                         ? FloatToStrGeneral(value.toDouble(), context.DecimalSeparator.Get())
                                         : VarToStr(value);
                Print(cells_[size_t(c + 1)], y, text, *stream);
            }
            y += kRowHeight;
        }
        Print(cells_.back(), footerTop, cells_.back()->Memo.front(), *stream);
    }

private:
    static void Print(TrpMemoView* memo, int top, const QString& text, QIODevice& stream)
    {
        memo->Top = top;
        memo->WorkText = QStringList{text};
        memo->WriteEntry(stream);
    }

    std::unique_ptr<TrpReport> report_;
    TrpPage& design_;
    std::vector<TrpMemoView*> cells_;
};

void BM_BareListPages(benchmark::State& state)
{
    TrpRunContext context;
    {
        std::unique_ptr<TrpReport> report = MakeList(context);
        BuildPages(context, *report);
        BareList bare(context);
        bare.Build(context);
        if (PageOctets(bare.Pages()) != PageOctets(*report->EMFPages)) {
            state.SkipWithError("the bare loop writes other octets than the build");
            return;
        }
    }
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto bare = std::make_unique<BareList>(context);
        state.ResumeTiming();
        bare->Build(context);
        pages = bare->Pages().Count();
        state.PauseTiming();
        bare.reset();
        state.ResumeTiming();
    }
    CountPages(state, pages);
}
BENCHMARK(BM_BareListPages)->Unit(benchmark::kMillisecond);

}  // namespace
