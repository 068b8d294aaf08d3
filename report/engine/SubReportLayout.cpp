// Sub-reports laid out inside the band that holds them: each target page is built once in
// deferred mode, which records its bands, and the recordings are played back side by side on
// the parent page, continuing together on new pages until every one is done.
#include <algorithm>

#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/objects/SubReportView.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

TrpPage* TargetOf(const TrpView* view)
{
    const auto* sub = dynamic_cast<const TrpSubReportView*>(view);
    return sub && sub->Visible ? sub->SubPage() : nullptr;
}

}  // namespace

void TrpBand::DrawSubReports(size_t first)
{
    TrpPage& parent = *Page;
    TrpRunContext& c = parent.Context();
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage);
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand);
    subPageNoBefore_ = c.PageNo;
    subPosBefore_ = parent.PosY;
    FirstSubReport = int(first);
    SubReportDone.assign(Objects.size() - first, true);
    for (size_t i = first; i < Objects.size(); ++i) {
        TrpView* view = Objects[i];
        TrpPage* target = TargetOf(view);
        if (!target)
            continue;
        target->BuildMode = bmDeferred;
        target->DeferredList.clear();
        target->BuildPage();
        c.CurrentPage = &parent;
        c.CurrentBand = this;
        target->MarginsOn = parent.MarginsOn;
        target->LeftMargin = parent.LeftMargin;
        target->TopMargin = parent.TopMargin;
        target->RightMargin = parent.RightMargin;
        target->BottomMargin = parent.BottomMargin;
        target->PosY = view->Top + Top;
        target->LimitY = parent.SubReportLimitY();
        target->ColumnOffsetX = parent.ColumnOffsetX + view->Left;
        target->Columns = 1;
        target->ColumnIndex = 0;
        target->PlayPos = 0;
        SubReportDone[i - first] = false;
    }
    parent.PendingBand = nullptr;
    SubReportsAllDone = true;   // the first round starts where the preparation placed them
    LayOutSubReports();
}

void TrpBand::LayOutSubReports()
{
    TrpPage& parent = *Page;
    TrpRunContext& c = parent.Context();
    const TrpReport& root = *c.RootReport;
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage);
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand);
    const size_t first = size_t(FirstSubReport);
    std::vector<TrpBand*> stopped;   // the bands that did not fit, one per sub-report at most
    while (!root.Terminated) {
        stopped.clear();
        if (!SubReportsAllDone)
            for (size_t i = first; i < Objects.size(); ++i)
                if (TrpPage* target = TargetOf(Objects[i])) {
                    target->PosY = parent.PosY;
                    target->LimitY = parent.SubReportLimitY();
                }
        SubReportsAllDone = true;
        SubReportsEnd = parent.PosY;
        for (size_t i = first; i < Objects.size(); ++i) {
            TrpPage* target = TargetOf(Objects[i]);
            if (!target || SubReportDone[i - first])
                continue;
            // What a sub-report prints is the body of the parent's page.
            target->bodyOnPage_ = false;
            const bool more = target->Playback();
            if (target->bodyOnPage_)
                parent.NoteContent();
            if (more) {
                SubReportsAllDone = false;
                if (!target->PendingBand && target->PlayPos < target->DeferredList.size())
                    stopped.push_back(target->DeferredList[target->PlayPos].Band);
            } else {
                SubReportDone[i - first] = true;
                SubReportsEnd = std::max(SubReportsEnd, target->PosY);
            }
        }
        if (SubReportsAllDone)
            break;
        if (parent.IsSubTarget) {
            parent.PendingBand = this;   // the outer level breaks its page and resumes
            return;
        }
        // A band that did not fit prints again on the new page; its script has run.
        for (TrpBand* band : stopped)
            band->SkipScript = true;
        // The column footer goes below the rows this page holds.
        parent.PosY = std::max(parent.PosY, SubReportsEnd);
        for (size_t i = first; i < Objects.size(); ++i)
            if (TrpPage* target = TargetOf(Objects[i]); target && !SubReportDone[i - first])
                parent.PosY = std::max(parent.PosY, target->PosY);
        parent.NewPage();
    }
    c.CurrentPage = &parent;
    c.CurrentBand = this;
    for (size_t i = first; i < Objects.size(); ++i)
        if (TrpPage* target = TargetOf(Objects[i])) {
            target->DeferredList.clear();
            target->PlayPos = 0;
        }
    // The band's own height was taken on the page it began; on a later page only the rows count.
    if (c.PageNo == subPageNoBefore_)
        parent.PosY += std::max(NeededHeight, SubReportsEnd - parent.PosY);
    else
        parent.PosY = std::max(parent.PosY, SubReportsEnd);
    parent.PendingBand = nullptr;
    if (c.PageNo == subPageNoBefore_ && parent.PosY < subPosBefore_ + Height)
        parent.PosY = subPosBefore_ + Height;
}

int TrpPage::SubReportLimitY() const
{
    // Sub-reports keep the room of this page's column footer free, as its own bands do.
    return LimitY - Bands[btColumnFooter]->Height;
}

bool TrpPage::Playback()
{
    TrpRunContext& c = Context();
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage);
    while (PlayPos < DeferredList.size()) {
        const TrpDeferredEntry entry = DeferredList[PlayPos];
        TrpBand& band = *entry.Band;
        c.CurrentPage = this;
        switch (entry.Kind) {
        case dkFirst:
            band.DataSet->First();
            band.SetLineNo(1);
            break;
        case dkNext:
            band.DataSet->Next();
            ++CurrentNo;
            ++band.LineThroughNo;
            band.SetLineNo(band.LineNo + 1);
            break;
        case dkPrint:
            if (TrpBand* pending = PendingBand) {
                pending->LayOutSubReports();
                if (PendingBand)
                    return true;
            } else if (band.Draw() || PendingBand) {
                return true;
            }
            break;
        }
        ++PlayPos;
    }
    return false;
}

bool TrpReport::CheckSubReportRings()
{
    // Depth first over the pages the sub-report objects target, without recursion: a page on
    // the current path that is targeted again closes a ring. Every page is walked once.
    enum TMark : uint8_t { kUnseen, kOnPath, kDone };
    std::vector<TMark> marks(Pages.size(), kUnseen);
    struct TStep {
        size_t Page;
        size_t Object;   // the next object of the page to look at
    };
    std::vector<TStep> path;
    for (size_t start = 0; start < Pages.size(); ++start) {
        if (marks[start] != kUnseen)
            continue;
        marks[start] = kOnPath;
        path.push_back({start, 0});
        while (!path.empty()) {
            const size_t page = path.back().Page;
            const auto& objects = Pages[page]->Objects;
            if (path.back().Object == objects.size()) {
                marks[page] = kDone;
                path.pop_back();
                continue;
            }
            auto* sub = dynamic_cast<TrpSubReportView*>(objects[path.back().Object++].get());
            if (!sub || sub->SubPageIndex < 0 || size_t(sub->SubPageIndex) >= Pages.size())
                continue;
            const size_t target = size_t(sub->SubPageIndex);
            if (marks[target] == kOnPath) {
                QStringList ring;
                const auto closed = std::find_if(path.begin(), path.end(), [target](const TStep& step) { return step.Page == target; });
                for (auto step = closed; step != path.end(); ++step)
                    ring << Pages[step->Page]->Name;
                ring << Pages[target]->Name;
                TrpRunContext& c = context_;
                const TrpViewScope current(c, sub);   // the error names the object closing the ring
                SetCalculationError(c, LoadFrResString(c, 55215).arg(ring.join(QStringLiteral(" → "))));
                return false;
            }
            if (marks[target] == kUnseen) {
                marks[target] = kOnPath;
                path.push_back({target, 0});
            }
        }
    }
    return true;
}
