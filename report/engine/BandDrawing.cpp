// A band printing itself at the page's current position: its script and the breaks it asks
// for, the page-break check, stretching, its objects, its child band and band columns.
#include <algorithm>

#include <QScopedValueRollback>

#include "report/engine/EMFPages.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"
#include "report/objects/MemoView.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

namespace {

// Bands with a place of their own: no page check, and PosY stays where it is.
bool HasFixedPlace(int bandType)
{
    return bandType == btPageFooter || bandType == btOverlay || bandType == btNone;
}

// Bands every page or column has, printed by the breaks themselves.
bool IsPageFurniture(int bandType)
{
    return HasFixedPlace(bandType) || bandType == btPageHeader || bandType == btColumnHeader ||
           bandType == btColumnFooter;
}

}  // namespace

bool TrpBand::Draw()
{
    TrpPage& page = *Page;
    TrpRunContext& c = page.Context();
    TrpReport& root = *c.RootReport;
    const bool savedBreaked = Breaked;
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, this);
    const TrpViewScope currentView(c, View);
    NeededHeight = -1;
    PendingPageBreaks = PendingColumnBreaks = 0;
    CurYAssigned = false;
    if (page.newPageDue_ && !IsPageFurniture(BandType) && Exists())
        page.NewPage();
    if (c.CurrentReport && c.CurrentReport->OnBeginBand)
        c.CurrentReport->OnBeginBand(this);

    // A run of band columns of another band ends: the next band goes below it.
    if (TrpBand* prev = page.PrevBand; prev && prev != this && prev->Exists() && prev->BandColumn > 1) {
        page.ColumnOffsetX = prev->BandColumnX;
        page.PosY += prev->NeededHeight;
    }
    if (!SkipScript && !Script.isEmpty()) {
        try {
            c.ReportInterpreter.RunScript(Script);
        } catch (const std::exception& error) {
            SetCalculationError(c, error);
        }
    }
    SkipScript = false;
    if (root.Terminated) {
        Breaked = savedBreaked;
        return false;
    }
    const int scriptPosY = page.PosY;
    const bool breaksPending = PendingPageBreaks > 0 || PendingColumnBreaks > 0;
    {
        // Breaks the script asks for are made even on a page that holds nothing yet.
        const QScopedValueRollback asked(page.breakAsked_, true);
        for (int i = 0; i < PendingPageBreaks; ++i) {
            page.ColumnIndex = page.Columns - 1;
            page.NewColumn(this);
        }
        for (int i = 0; i < PendingColumnBreaks; ++i)
            page.NewColumn(this);
    }
    if (breaksPending && CurYAssigned)
        page.PosY = scriptPosY;
    c.CurrentBand = this;

    bool result = false;
    bool reprinted = false;   // the break that moved the band printed it
    if (Visible) {
        if (BandType == btColumnHeader)
            page.ColumnTopY = page.PosY;
        else if (BandType == btPageFooter)
            Top = page.LimitY;
        if (Exists()) {
            NeededHeight = std::max(NeededHeight, Height);
            if (!HasFixedPlace(BandType) && BandType != btColumnFooter) {
                const int h = CalcHeight();
                // The Column footer's height stays free below every flowing band, as the
                // page-break check keeps it.
                const auto room = [&page] { return page.LimitY - page.Bands[btColumnFooter]->Height; };
                if (room() < page.PosY + h && !Breaked) {
                    const bool atTop = page.PosY == page.TopLimit();
                    if (page.IsSubTarget) {
                        // The parent band breaks the page and plays this band again.
                        Breaked = savedBreaked;
                        return true;
                    }
                    if (room() - page.TopLimit() >= h || !atTop) {
                        const int pageBefore = c.PageNo;
                        page.NewColumn(this);
                        c.CurrentBand = this;
                        result = true;
                        // The new column printed its header, a new page its page header too.
                        reprinted = BandType == btColumnHeader || (BandType == btPageHeader && c.PageNo != pageBefore);
                    }
                    // Taller than the room a fresh page leaves: split it rather than overflow.
                    if (room() < page.PosY + h)
                        Breaked = true;
                }
            }
            if (reprinted) {
                // Printed once is enough.
            } else if (IsDataBand(BandType) && DataSet && Next && !Next->DataSet) {
                // One record's bands: this one and the bands of its chain without a source.
                for (TrpBand* band = this; band && (band == this || !band->DataSet); band = band->Next)
                    if (band->Visible && band->DrawItself())
                        result = true;
            } else {
                if (DrawItself())
                    result = true;
                if (Child && Child->Draw())
                    result = true;
                // The new page begins when a band of the body comes to print on it, so the
                // report's last band leaves no empty page behind.
                if (!IsDataBand(BandType) && BandType != btGroupHeader && FormNewPage && Visible)
                    page.newPageDue_ = true;
            }
        }
    } else {
        if (PrintChildIfInvisible && Child)
            Child->Draw();
        if (IsDataBand(BandType))
            Accumulate();
    }
    if (!KeepValues && (BandType != btPageFooter || root.EMFPages->Count() == c.PageNo + 1))
        ResetAggregates();
    if (c.CurrentReport && c.CurrentReport->OnEndBand)
        c.CurrentReport->OnEndBand(this);
    Breaked = savedBreaked;
    return result;
}

bool TrpBand::DrawItself()
{
    TrpPage& page = *Page;
    TrpRunContext& c = page.Context();
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, this);
    const int designTop = Top;
    const bool fixedPlace = HasFixedPlace(BandType);
    if (!fixedPlace)
        Top = page.PosY;
    bool subReports = false;
    SaveObjectHeights();
    if (Stretched) {
        const int h = std::max(NeededHeight, Height);
        for (TrpView* view : Objects)
            if (dynamic_cast<TrpStretcheable*>(view) && (view->Flags & kFlagStretched) && view->Height > 0)
                view->Height = h - view->Top;
        PrintedHeight = h;
        if (!Breaked)
            CheckPageBreak(Top, h);
        Top = page.PosY;
        c.CurrentBand = this;
        if (Breaked) {
            subReports = DrawPageBreak();
        } else {
            subReports = DrawObjects();
            if (crossObjects_)
                DrawCrossCells();
            if (!subReports)
                page.PosY += h;
        }
    } else {
        if (!fixedPlace) {
            if (!Breaked)
                CheckPageBreak(Top, Height);
            Top = page.PosY;
            c.CurrentBand = this;
        }
        if (Breaked) {
            PrintedHeight = std::max(NeededHeight, Height);
            subReports = DrawPageBreak();
        } else {
            subReports = DrawObjects();
            if (crossObjects_)
                DrawCrossCells();
            if (!fixedPlace && !subReports)
                page.PosY += Height;
        }
    }
    RestoreObjectHeights();
    page.NoteBody();   // a band without objects takes its room on the page too
    if (page.PrevBand != this)
        BandColumn = 1;
    page.PrevBand = this;
    NextBandColumn();
    if (IsDataBand(BandType))
        Accumulate();
    Top = designTop;
    return subReports && !SubReportsAllDone;
}

void TrpBand::NextBandColumn()
{
    const auto* bandObject = dynamic_cast<const TrpBandView*>(View);
    if (!bandObject || bandObject->Columns <= 1 || bandObject->NewColumnAfter != 1)
        return;
    TrpPage& page = *Page;
    const int k = BandColumn;
    if (k == 1)
        BandColumnX = page.ColumnOffsetX;
    BandColumn = k + 1;
    if (bandObject->Columns < k + 1) {
        page.ColumnOffsetX = BandColumnX;
        BandColumn = 1;
    } else {
        page.ColumnOffsetX = (bandObject->ColumnWidth + bandObject->ColumnGap) * k + BandColumnX;
        page.PosY -= NeededHeight;
    }
}

int TrpBand::CalcHeight()
{
    int result = 0;
    if (IsDataBand(BandType) && DataSet && Next && !Next->DataSet) {
        // The page check covers the whole record: this band and the bands printed with it.
        for (TrpBand* band = this; band && (band == this || !band->DataSet); band = band->Next) {
            if (band != this)
                band->NeededHeight = -1;
            const int own = band->Stretched ? band->ContentHeight() : band->Height;
            band->NeededHeight = std::max(band->NeededHeight, own);
            result += own;
        }
        return result;
    }
    result = Stretched ? ContentHeight() : Height;
    NeededHeight = std::max(NeededHeight, result);
    return result;
}

int TrpBand::ContentHeight()
{
    TrpRunContext& c = Page->Context();
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, Page);
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, this);
    if (crossObjects_ && BandType != btPageFooter)
        return CrossContentHeight();
    return ObjectsHeight();
}

int TrpBand::ObjectsHeight()
{
    int height = Height;
    for (TrpView* view : Objects)
        if (auto* stretchable = dynamic_cast<TrpStretcheable*>(view); stretchable && view->OwnerBand == this)
            height = std::max(height, view->Top + stretchable->CalcHeight());
    return height;
}

void TrpBand::SaveObjectHeights()
{
    savedHeights_.resize(Objects.size());
    for (size_t i = 0; i < Objects.size(); ++i)
        savedHeights_[i] = Objects[i]->Height;
}

void TrpBand::RestoreObjectHeights()
{
    for (size_t i = 0; i < Objects.size() && i < savedHeights_.size(); ++i)
        Objects[i]->Height = savedHeights_[i];
}

bool TrpBand::CheckPageBreak(int y, int dy, bool breakPage)
{
    if (BandType == btColumnFooter)
        return false;
    if (Page->LimitY >= y + dy + Page->Bands[btColumnFooter]->Height)
        return false;
    if (breakPage && !Page->IsSubTarget)
        Page->NewColumn(this);
    return true;
}

bool TrpBand::DrawObjects()
{
    const TrpReport& root = *Page->Context().RootReport;
    for (size_t i = 0; i < Objects.size(); ++i) {
        if (root.Terminated)
            return false;
        TrpView* view = Objects[i];
        if (view->TypeCode == otSubReport && view->Visible && view->OwnerBand == this) {
            DrawSubReports(i);
            return true;
        }
        DrawObject(view);
    }
    return false;
}

void TrpBand::DrawObject(TrpView* view)
{
    if (view->OwnerBand != this)
        return;   // a cross band's object prints in the cross cells
    PrintObject(view, Page->ColumnOffsetX - Page->LeftLimit(), Top);
}

void TrpBand::PrintObject(TrpView* view, int dx, int dy)
{
    TrpPage& page = *Page;
    TrpRunContext& c = page.Context();
    const TrpCurrentScope<TrpPage> currentPage(c.CurrentPage, &page);
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, this);
    // The object is current in the catch below too, which names it in the error.
    const TrpViewScope currentView(c, view);
    auto* stretchable = dynamic_cast<TrpStretcheable*>(view);
    try {
        if (Breaked || !c.FirstPassFlag) {
            const int left = view->Left;
            const int top = view->Top;
            view->Left += dx;
            view->Top += dy;
            view->PrintToStream(c.RootReport->EMFPages->Page(c.PageNo).ObjectStream);
            view->Left = left;
            view->Top = top;
        } else if (!(stretchable && view->TypeCode == otMemo && stretchable->PassMode != pmNormal)) {
            view->RunScript();
        }
        // A first pass places objects without writing them; the page still has content.
        page.NoteContent();
    } catch (const std::exception& error) {
        SetCalculationError(c, error);
    }
}
