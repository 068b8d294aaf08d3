// Cross bands: vertical bands that repeat the objects of a band they cross as the cells of a
// cross table, one Cross data cell per record of the cross source between the Cross header's
// and the Cross footer's cell. A row wider than the page continues on the next prepared page.
#include <algorithm>
#include <memory>

#include "report/data/Dataset.h"
#include "report/engine/EMFPages.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/objects/BandView.h"
#include "report/objects/Stretcheable.h"
#include "report/runtime/CurrentScope.h"
#include "report/runtime/RunContext.h"

TrpDataset* TrpBand::CrossSource()
{
    if (CrossDataSet)
        return CrossDataSet;
    // A Master footer after the last record: as many columns as the widest row had.
    if (BandType == btMasterFooter && DataBand && DataBand->DataSet && DataBand->DataSet->Eof()) {
        if (!ownedCrossDataSet_)
            ownedCrossDataSet_ = std::make_unique<TrpUserDataset>();
        ownedCrossDataSet_->RangeEnd = reCount;
        ownedCrossDataSet_->RangeEndCount = Page->widestCrossRow_;
        return ownedCrossDataSet_.get();
    }
    const TrpBand* crossData = Page->Bands[btCrossData];
    return crossData ? crossData->DataSet : nullptr;
}

int TrpBand::CrossContentHeight()
{
    TrpPage& page = *Page;
    TrpReport& report = *page.Report;
    const auto allObjectsHeight = [this] {
        int height = Height;
        for (TrpView* view : Objects)
            if (auto* stretchable = dynamic_cast<TrpStretcheable*>(view))
                height = std::max(height, view->Top + stretchable->CalcHeight());
        return height;
    };
    page.ColumnNo = 1;
    report.BeginColumnHook(this);
    TrpDataset* source = CrossSource();
    if (!source)
        return allObjectsHeight();
    int result = Height;
    const TrpReport& root = *page.Context().RootReport;
    for (source->First(); !source->Eof() && !root.Terminated; source->Next()) {
        int width = Page->Bands[btCrossData]->Width;
        report.PrintColumnHook(page.ColumnNo, width);
        result = std::max(result, allObjectsHeight());
        ++page.ColumnNo;
    }
    // The cells print their own column's content and totals, not what the last column measured.
    for (TrpView* view : Objects)
        if (auto* stretchable = dynamic_cast<TrpStretcheable*>(view); stretchable && view->OwnerBand != this)
            stretchable->PassMode = pmNormal;
    return result;
}

void TrpBand::DrawCrossCells()
{
    TrpPage& page = *Page;
    TrpRunContext& c = page.Context();
    TrpReport& report = *page.Report;
    TrpEMFPages& prepared = *c.RootReport->EMFPages;
    const TrpCurrentScope<TrpBand> currentBand(c.CurrentBand, this);
    TrpBand* header = page.Bands[btCrossHeader];
    TrpBand* data = page.Bands[btCrossData];
    TrpBand* footer = page.Bands[btCrossFooter];
    const int rowPage = c.PageNo;
    const int rowTop = Top;
    int x = header->View ? header->Left : data->Left;

    // A cell wider than the room left continues at the left limit of the next prepared page.
    const auto makeRoom = [&](int width) {
        if (x + width <= page.RightLimit() || x == page.LeftLimit())
            return false;
        const int posY = page.PosY;
        ++c.PageNo;
        if (c.PageNo >= prepared.Count())
            page.AddCrossRowPage(rowTop);
        page.PosY = posY;
        x = page.LeftLimit();
        return true;
    };
    const auto printCell = [&](TrpBand* cross, int width) {
        if (!cross->View)
            return;
        // The corners of a footer's row show the totals of the whole table.
        const bool corner = cross != data && !IsDataBand(BandType) && AggregateBand;
        const TrpCurrentScope<TrpBand> cornerOf(cross->CornerOf, corner ? this : nullptr);
        cross->LineNo = LineNo;
        cross->LineThroughNo = LineThroughNo;
        cross->Top = rowTop;
        for (TrpView* view : cross->Objects)
            if (std::find(Objects.begin(), Objects.end(), view) != Objects.end())
                cross->PrintObject(view, x + page.ColumnOffsetX - page.LeftLimit(), rowTop);
        x += width;
    };

    page.ColumnNo = 1;
    report.BeginColumnHook(this);
    printCell(header, header->Width);
    if (TrpDataset* source = CrossSource()) {
        data->AggregateBand = this;
        for (source->First(); !source->Eof() && !c.RootReport->Terminated; source->Next()) {
            int width = data->Width;
            report.PrintColumnHook(page.ColumnNo, width);
            if (makeRoom(width) && header->View && (header->Flags & bfRepeatHeader))
                printCell(header, header->Width);
            printCell(data, width);
            data->Accumulate();
            if (IsDataBand(BandType))
                Accumulate(page.ColumnNo);   // the totals of this column
            ++page.ColumnNo;
        }
        page.widestCrossRow_ = std::max(page.widestCrossRow_, page.ColumnNo - 1);
    }
    makeRoom(footer->Width);
    printCell(footer, footer->Width);
    if (footer->View)
        footer->ResetAggregates();   // the next row totals its own cells
    c.PageNo = rowPage;
}
