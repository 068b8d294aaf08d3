// A band split across pages: what fits above the page's limit prints on this page, stretchable
// objects print the part that fits and continue on the next page, the rest moves there.
#include <algorithm>
#include <vector>

#include <QScopedValueRollback>

#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/objects/Stretcheable.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"
#include "report/runtime/TextRoutines.h"

namespace {

struct TSavedGeometry {
    TrpView* View;
    int Top, Height;
};

}  // namespace

void TrpBand::ShiftObjectsBelow(const TrpView* view, int dy)
{
    const int bottom = view->Top + view->Height;
    for (TrpView* other : Objects)
        if (other != view && other->Selected && other->Top >= bottom && view->Left <= other->Left &&
            other->Left <= view->Left + view->Width)
            other->Top += dy;
}

bool TrpBand::NeverFits(TrpView& view, int height, int room)
{
    // Pushed to the next page it would start at the top of the room and still not fit there,
    // page after page: the build ends now rather than after a run of empty pages.
    if (Page->IsSubTarget || height < room)
        return false;
    TrpRunContext& c = Page->Context();
    if (c.RootReport->Terminated)
        return true;   // one error is enough
    const TrpViewScope current(c, &view);
    SetCalculationError(c, LoadFrResString(c, 55216).arg(view.Name, Name).arg(height).arg(room));
    return true;
}

void TrpBand::PlaceCrossRow(int avail, int pageRoom, int& lowest)
{
    std::vector<TrpView*> row;   // the cross objects not printed yet
    int top = 0, bottom = 0;
    for (TrpView* view : Objects)
        if (view->Selected && view->OwnerBand != this) {
            top = row.empty() ? view->Top : std::min(top, view->Top);
            bottom = row.empty() ? view->Top + view->Height : std::max(bottom, view->Top + view->Height);
            row.push_back(view);
        }
    if (row.empty() || top >= avail)
        return;
    if (top >= 0 && bottom < avail) {
        DrawCrossCells();
        for (TrpView* view : row)
            view->Selected = false;
        lowest = std::max(lowest, bottom);
        return;
    }
    if (bottom - top >= pageRoom && NeverFits(*row.front(), bottom - top, pageRoom)) {
        for (TrpView* view : row)
            view->Selected = false;
        return;
    }
    for (TrpView* view : row)
        view->Top += avail - top;   // starts the next part
}

bool TrpBand::DrawPageBreak()
{
    TrpPage& page = *Page;
    const TrpReport& root = *page.Context().RootReport;
    const TrpCurrentScope<TrpBand> currentBand(page.Context().CurrentBand, this);
    std::vector<TSavedGeometry> saved;
    saved.reserve(Objects.size());
    for (TrpView* view : Objects) {
        view->Selected = true;   // still to print
        saved.push_back({view, view->Top, view->Height});
        // The parts that fit print the measured content, so a band that did not stretch
        // measures its objects now.
        if (auto* stretchable = dynamic_cast<TrpStretcheable*>(view);
            stretchable && stretchable->PassMode == pmNormal && view->OwnerBand == this) {
            Page->Context().CurrentBand = this;
            stretchable->CalcHeight();
        }
        if (view->BandAlign == baBottom)
            view->Top = NeededHeight - view->Height;
    }
    std::vector<TrpView*> drawnAtEnd;   // continued parts that reach the band's final bottom
    bool subReports = false;   // they leave the page's position below their rows themselves
    if (!CheckPageBreak(Top, PrintedHeight, false)) {
        subReports = DrawObjects();
        if (crossObjects_)
            DrawCrossCells();
    } else {
        // Sub-reports print no part of themselves here: they lay out their rows after the split.
        size_t firstSubReport = Objects.size();
        for (size_t i = 0; i < Objects.size() && firstSubReport == Objects.size(); ++i)
            if (Objects[i]->TypeCode == otSubReport && Objects[i]->Visible && Objects[i]->OwnerBand == this)
                firstSubReport = i;
        for (size_t i = firstSubReport; i < Objects.size(); ++i)
            Objects[i]->Selected = false;
        int lowest = 0;
        bool onNewPage = false;   // broken to by this split: the room every next page gives
        for (;;) {
            const int avail = page.LimitY - page.Bands[btColumnFooter]->Height - Top - 2;
            // The room an object pushed to the next page finds at its top: below the headers of
            // the pages a break makes, as far as they are known yet, else below the top limit.
            const int roomTop = onNewPage ? Top : page.NewPageTopY >= 0 ? page.NewPageTopY : page.TopLimit();
            const int pageRoom = page.BottomLimit() - page.Bands[btColumnFooter]->Height - roomTop - 2;
            lowest = 0;
            // A part that leaves a fresh page's room or more for the next page (gaps and frame as
            // tall as the page) would leave as much again there, page after page: the build ends
            // now. What is left at the foot of this page says nothing about the next one.
            const auto endless = [&](TrpView& view, int rest) {
                return rest >= pageRoom && NeverFits(view, rest, pageRoom);
            };
            if (crossObjects_)
                PlaceCrossRow(avail, pageRoom, lowest);
            for (TrpView* view : Objects) {
                if (!view->Selected || view->OwnerBand != this)
                    continue;
                auto* stretchable = dynamic_cast<TrpStretcheable*>(view);
                if (view->Top >= 0 && view->Top < avail) {
                    if (view->Top + view->Height < avail) {
                        DrawObject(view);
                        view->Selected = false;
                        lowest = std::max(lowest, view->Top + view->Height);
                    } else if (stretchable) {
                        const int height = view->Height;
                        view->Height = avail - view->Top + 1;
                        // Its smallest part (one line with gaps and frame) must fit the room a
                        // fresh page gives, which every part after this one gets.
                        const int smallest = stretchable->MinHeight();
                        if (smallest > pageRoom && NeverFits(*view, smallest, pageRoom)) {
                            view->Height = height;
                            continue;
                        }
                        const bool fits = smallest <= view->Height;
                        // Nothing of it printed here: all of the cut part goes on to the next page.
                        const int rest = fits ? stretchable->RestHeight() : view->Height;
                        if (endless(*view, rest)) {
                            view->Height = height;
                            continue;
                        }
                        if (fits) {
                            stretchable->PassMode = pmPartFits;
                            DrawObject(view);
                        }
                        view->Height = height;
                        ShiftObjectsBelow(view, rest);
                        view->Height += rest;
                    } else if (!NeverFits(*view, view->Height, pageRoom)) {
                        view->Top = avail;   // starts the next page
                    }
                } else if (view->Top < 0 && stretchable) {
                    const int end = view->Top + view->Height;
                    if (end >= 0 && end < avail) {
                        view->Top = 0;
                        view->Height = end;
                        stretchable->PassMode = pmPartFits;
                        view->Selected = false;
                        lowest = std::max(lowest, end);
                        if (view->Flags & kFlagStretched)
                            drawnAtEnd.push_back(view);
                        else
                            DrawObject(view);
                    } else if (end >= avail) {
                        const int top = view->Top;
                        const int height = view->Height;
                        view->Top = 0;
                        view->Height = avail;
                        // Measured at the height this part prints with, as on the first page.
                        const int rest = stretchable->RestHeight();
                        if (endless(*view, rest)) {
                            view->Top = top;
                            view->Height = height;
                            continue;
                        }
                        stretchable->PassMode = pmPartFits;
                        DrawObject(view);
                        view->Top = top;
                        view->Height = height;
                        ShiftObjectsBelow(view, rest);
                        view->Height += rest;
                    }
                }
            }
            bool left = false;
            for (TrpView* view : Objects)
                if (view->Selected) {
                    view->Top -= avail;
                    left = true;
                }
            if (!left || root.Terminated || page.IsSubTarget)
                break;
            // The band takes the column to its foot, the Column footer standing below it, and goes
            // on in a new one.
            page.PosY = page.LimitY - page.Bands[btColumnFooter]->Height;
            page.NoteBody();
            onNewPage = CheckPageBreak(Top, 10000) && page.ColumnIndex == 0;
            Top = page.PosY;
            page.Context().CurrentBand = this;
        }
        PrintedHeight = lowest;
        for (TrpView* view : drawnAtEnd) {
            view->Height = PrintedHeight;
            DrawObject(view);
        }
        if (firstSubReport < Objects.size() && !root.Terminated) {
            // They begin beside the band's last part, which is as high as it printed there.
            const QScopedValueRollback height(Height, PrintedHeight);
            const QScopedValueRollback needed(NeededHeight, PrintedHeight);
            DrawSubReports(firstSubReport);
            subReports = true;
        }
    }
    for (const TSavedGeometry& geometry : saved) {
        geometry.View->Top = geometry.Top;
        geometry.View->Height = geometry.Height;
        geometry.View->Selected = false;
    }
    if (!subReports)
        page.PosY += PrintedHeight;
    return subReports;
}
