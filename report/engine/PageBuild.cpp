// The build of one report page: title, page header, the data loop, summary and the page
// footers; page and column breaks; a page that continues on the previous one.
#include <QScopeGuard>

#include "report/data/Dataset.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/objects/BandView.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

namespace {

// Page breaks in a row that print nothing but the page's own headers and footers: more than
// this means a band that can never fit, and the build stops instead of filling pages for ever.
constexpr int kMaxEmptyBreaks = 100;

void FireEndPage(const TrpRunContext& c)
{
    if (c.CurrentReport && c.CurrentReport->OnEndPage)
        c.CurrentReport->OnEndPage(c.PageNo);
    if (c.RootReport && c.RootReport != c.CurrentReport && c.RootReport->OnEndPage)
        c.RootReport->OnEndPage(c.PageNo);
}

// Counts the prints a page break makes, which are no progress of the build.
class TFurnitureScope {
public:
    explicit TFurnitureScope(int& depth) : depth_(depth) { ++depth_; }
    ~TFurnitureScope() { --depth_; }
    TFurnitureScope(const TFurnitureScope&) = delete;
    TFurnitureScope& operator=(const TFurnitureScope&) = delete;

private:
    int& depth_;
};

}  // namespace

void TrpPage::RunScript(const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    TrpRunContext& c = Context();
    QStringList compiled;
    QStringList errors;
    c.ReportInterpreter.CompileScript(lines, compiled, errors);
    const TrpViewScope noObject(c, nullptr);
    c.ReportInterpreter.RunScript(compiled);
}

void TrpPage::PrintBand(TrpBand* band)
{
    if (!band)
        return;
    if (BuildMode == bmDeferred)
        Record(band, dkPrint);
    else
        band->Draw();
}

void TrpPage::BuildPage()
{
    TrpRunContext& c = Context();
    TrpReport& report = *Report;
    TrpEMFPages& prepared = *c.RootReport->EMFPages;
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, this);
    emptyBreaks_ = 0;
    NewPageTopY = -1;
    if (!report.PrintIfEmpty) {
        bool empty = true;
        try {
            if (TrpDataset* source = Bands[btMasterData]->DataSet) {
                source->First();
                empty = source->Eof();
            }
        } catch (const std::exception&) {
            empty = true;   // a source that fails has nothing to print
        }
        if (empty) {
            if (c.AppendMode)
                ++c.PageNo;
            return;
        }
    }
    NoRepeatHeaders = false;
    const bool direct = BuildMode == bmDirect;
    if (direct) {
        try {
            RunScript(Script);
        } catch (const std::exception& error) {
            SetCalculationError(c, error);
        }
        if (c.AppendMode && c.SavedPosY == c.SavedLimitY) {
            c.AppendMode = c.FooterDone = false;
            c.PageNo = prepared.Count();
        }
        LimitY = c.AppendMode && c.FooterDone ? c.SavedLimitY : BottomLimit();
        ColumnIndex = 0;
        ColumnOffsetX = LeftLimit();
        bodyOnPage_ = c.AppendMode;   // a page continued holds the body of the page before
        newPageDue_ = false;
        // Columns start where the page's body does until the Column header tells otherwise:
        // a title that runs into the next column goes on there, not above the top margin.
        ColumnTopY = c.AppendMode ? c.SavedPosY : TopLimit();
        if (c.AppendMode) {
            PosY = c.SavedPosY;
        } else {
            prepared.AddPage(*this);
            PosY = TopLimit();
            TFurnitureScope furniture(furniture_);
            PrintBand(Bands[btOverlay]);
            PrintBand(Bands[btNone]);
        }
        const int pageNo = c.PageNo;
        if (!report.OnManualBuild)
            PrintBand(Bands[btReportTitle]);
        if (c.PageNo == pageNo) {
            TFurnitureScope furniture(furniture_);
            if (Bands[btPageHeader]->Exists() && (Bands[btPageHeader]->Flags & bfOnFirstPage))
                PrintBand(Bands[btPageHeader]);
            PrintBand(Bands[btColumnHeader]);
        }
    }
    if (!report.OnManualBuild) {
        int deepest = 1;
        if (Bands[btDetailData]->View)
            deepest = 2;
        if (Bands[btSubDetailData]->View)
            deepest = 3;
        RunDataLoop(1, deepest);
    }
    if (direct)
        EndPageBuild();
    PrevBand = nullptr;
}

void TrpPage::EndPageBuild()
{
    TrpRunContext& c = Context();
    TrpReport& report = *Report;
    if (report.OnManualBuild) {
        report.OnManualBuild(this);
    } else {
        NoRepeatHeaders = true;
        PrintBand(Bands[btColumnFooter]);
        TrpBand& columnFooter = *Bands[btColumnFooter];
        const int columnFooterHeight = columnFooter.Height;
        columnFooter.Height = 0;   // the summary may use the column footer's room
        PrintBand(Bands[btReportSummary]);
        columnFooter.Height = columnFooterHeight;
        NoRepeatHeaders = false;
    }
    c.SavedPosY = PosY;
    c.SavedLimitY = LimitY;
    if (ColumnIndex > 0)
        c.SavedPosY = BottomLimit();   // a page that went past its first column counts as full
    ColumnIndex = 0;
    ColumnOffsetX = LeftLimit();
    const int pageNo = c.PageNo;
    const int lastPage = c.RootReport->EMFPages->Count() - 1;
    bool footerDue = false;   // on the page or the pages a cross row added to its right
    for (int page = pageNo; page <= lastPage; ++page)
        footerDue = footerDue || FooterDue(page, lastPage);
    c.FooterDone = false;
    if (!report.OnManualBuild && footerDue && Bands[btPageFooter]->Exists()) {
        c.FooterDone = true;
        FinishPage(true);
    }
    FireEndPage(c);
    c.PageNo = pageNo + 1;
}

void TrpPage::FinishPage(bool reportEnd)
{
    TrpRunContext& c = Context();
    const TrpEMFPages& prepared = *c.RootReport->EMFPages;
    ColumnIndex = 0;
    ColumnOffsetX = LeftLimit();
    const int lastPage = reportEnd ? prepared.Count() - 1 : -1;
    TFurnitureScope furniture(furniture_);
    for (; c.PageNo < prepared.Count(); ++c.PageNo)
        if (FooterDue(c.PageNo, lastPage) && !(c.AppendMode && c.FooterDone)) {
            FireEndPage(c);
            PrintBand(Bands[btPageFooter]);
        }
    c.PageNo = prepared.Count();
}

bool TrpPage::FooterDue(int page, int lastPage) const
{
    const uint16_t flags = Bands[btPageFooter]->Flags;
    const bool first = flags & bfOnFirstPage, last = flags & bfOnLastPage;
    if (page == 0 && page == lastPage)
        return first || last;
    if (page == 0)
        return first;
    return page != lastPage || last;
}

void TrpPage::AddCrossRowPage(int rowTop)
{
    TFurnitureScope furniture(furniture_);
    Context().RootReport->EMFPages->AddPage(*this);
    PrintBand(Bands[btOverlay]);
    PosY = TopLimit();
    // The page goes on with the rows of the page before: its header only where it leaves them room.
    TrpBand* header = Bands[btPageHeader];
    if (PosY + header->Height <= rowTop)
        PrintBand(header);
}

bool TrpPage::NewPage()
{
    if (IsSubTarget)
        return false;   // the parent band breaks its own page
    TrpRunContext& c = Context();
    TrpReport& root = *c.RootReport;
    if (inNewPage_) {
        SetCalculationError(c, QStringLiteral("Полоса «%1» не помещается на пустой странице")
                                   .arg(c.CurrentBand ? c.CurrentBand->Name : QString()));
        return false;
    }
    CheckProgress();
    if (root.Terminated)
        return false;
    // Two breaks with nothing printed between them (a group and its data band both starting a
    // new page) make one page.
    newPageDue_ = false;
    if (!bodyOnPage_ && !breakAsked_)
        return false;
    inNewPage_ = true;
    const auto breakEnds = qScopeGuard([this] { inNewPage_ = false; });
    TFurnitureScope furniture(furniture_);
    root.ShowProgressPage(c.PageNo + 1);
    if (!NoRepeatHeaders)
        PrintBand(Bands[btColumnFooter]);
    FinishPage();
    LimitY = BottomLimit();
    root.EMFPages->AddPage(*this);
    c.AppendMode = false;
    PrintBand(Bands[btOverlay]);
    PosY = TopLimit();
    PrintBand(Bands[btPageHeader]);
    if (!NoRepeatHeaders)
        PrintBand(Bands[btColumnHeader]);
    NewPageTopY = PosY;
    bodyOnPage_ = false;
    return true;
}

void TrpPage::CheckProgress()
{
    if (++emptyBreaks_ <= kMaxEmptyBreaks)
        return;
    TrpRunContext& c = Context();
    SetCalculationError(c, QStringLiteral("Полоса «%1» не помещается на странице: за %2 разрывов страницы ничего не "
                                          "напечатано")
                               .arg(c.CurrentBand ? c.CurrentBand->Name : QString())
                               .arg(kMaxEmptyBreaks));
}

void TrpPage::NewColumn(TrpBand* band)
{
    if (IsSubTarget)
        return;
    TFurnitureScope furniture(furniture_);
    if (ColumnIndex < Columns - 1) {
        // The column footer of the page build's end is printed already when the summary moves on.
        if (!NoRepeatHeaders)
            PrintBand(Bands[btColumnFooter]);
        ++ColumnIndex;
        ColumnOffsetX += ColumnWidth + ColumnGap;
        PosY = ColumnTopY;
        if (!NoRepeatHeaders)   // the summary's column has neither header nor footer
            PrintBand(Bands[btColumnHeader]);
    } else if (!NewPage()) {
        return;   // still on the page just begun, its headers printed
    }
    // The headers of the groups that go on, and the data band's header, again on the new column:
    // those before a group header that asks, down to the group of a group footer that asks (the
    // inner groups have ended), none for a master footer (every group has ended) nor for a
    // group that has not begun.
    TrpBand* end = band;
    if (band && band->BandType == btGroupFooter) {
        end = nullptr;
        for (TrpBand* header = Bands[btGroupHeader]; header && header->View; header = header->Next)
            if (header->GroupFooter == band)
                end = header->Next;
    } else if (band && band->BandType == btMasterFooter) {
        end = Bands[btGroupHeader];
    }
    for (TrpBand* header = Bands[btGroupHeader]; header && header->View && header != end; header = header->Next) {
        header->KeepValues = true;
        if ((header->Flags & bfRepeatHeader) && !NoRepeatHeaders && !VarIsEmpty(header->GroupValue))
            PrintBand(header);
        header->KeepValues = false;
    }
    if (band && IsDataBand(band->BandType) && band->HeaderBand && (band->HeaderBand->Flags & bfRepeatHeader))
        PrintBand(band->HeaderBand);
}
