// The data loop of a page build: every data band of a level walks its source, printing its
// headers, its records with the levels below them, its group headers and footers as groups
// change, and its footer. Bands wait in a queue until a record below them prints, so headers
// of a record whose detail is empty never print alone.
#include "report/data/Dataset.h"
#include "report/engine/Page.h"
#include "report/engine/Report.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/VariantOps.h"
#include "report/runtime/EngineRoutines.h"
#include "report/runtime/RunContext.h"

namespace {

constexpr int kDataBandOfLevel[] = {btMasterData, btDetailData, btSubDetailData};

void StartGroup(TrpBand& header)
{
    header.SetLineNo(header.LineNo + 1);
    ++header.LineThroughNo;
}

}  // namespace

void TrpPage::Queue(TrpBand* band)
{
    if (band)
        queue_.push_back(band);
}

void TrpPage::FlushQueue()
{
    // Printing may queue nothing, but take the list first: a band's script may print others.
    std::vector<TrpBand*> bands;
    bands.swap(queue_);
    for (TrpBand* band : bands)
        if (band->Exists())
            PrintBand(band);
}

void TrpPage::Record(TrpBand* band, TrpDeferredKind kind)
{
    DeferredList.push_back({band, kind});
}

void TrpPage::RunDataLoop(int level, int deepest)
{
    TrpRunContext& c = Context();
    const TrpReport& root = *c.RootReport;
    const bool direct = BuildMode == bmDirect;
    for (TrpBand* band = Bands[size_t(kDataBandOfLevel[level - 1])]; band; band = band->Next) {
        if (!band->DataSet || root.Terminated)
            continue;
        TrpDataset& source = *band->DataSet;
        source.First();
        if (direct) {
            band->SetLineNo(1);
            band->LineThroughNo = 1;
        } else {
            Record(band, dkFirst);
        }
        for (TrpBand* header = band->FirstGroup; header; header = header->NextGroup) {
            header->SetLineNo(0);
            header->LineThroughNo = 0;
        }
        if (source.Eof())
            continue;
        for (TrpBand* header = band->FirstGroup; header; header = header->NextGroup) {
            StartGroup(*header);
            Queue(header);
        }
        Queue(band->HeaderBand);
        if (band->FooterBand)
            band->FooterBand->ResetAggregates();
        while (!root.Terminated && !source.Eof()) {
            Queue(band);
            if (band->PrintIfSubsetEmpty)
                FlushQueue();
            bool printed = true;
            if (level < deepest) {
                RunDataLoop(level + 1, deepest);
                if (!queue_.empty()) {
                    // No record below printed.
                    if (band->PrintIfSubsetEmpty) {
                        FlushQueue();
                    } else {
                        queue_.pop_back();
                        printed = false;
                    }
                }
            } else {
                FlushQueue();
            }
            source.Next();
            CheckGroups(*band);
            if (!direct) {
                Record(band, dkNext);
            } else if (printed) {
                ++CurrentNo;
                ++band->LineThroughNo;
                band->SetLineNo(band->LineNo + 1);
                if (!source.Eof() && band->FormNewPage && band->Visible)
                    NewPage();
            }
        }
        if (!queue_.empty())
            queue_.pop_back();
        else
            PrintBand(band->FooterBand);
    }
}

void TrpPage::CheckGroups(TrpBand& band)
{
    TrpRunContext& c = Context();
    TrpDataset& source = *band.DataSet;
    for (TrpBand* header = band.FirstGroup; header; header = header->NextGroup) {
        const bool atEnd = source.Eof();
        bool breaks = atEnd || VarIsEmpty(header->GroupValue);
        if (!breaks) {
            try {
                breaks = VarCompare(c.ReportParser.EvaluatePostfix(header->Condition), header->GroupValue) != 0;
            } catch (const std::exception& error) {
                SetCalculationError(c, error);
                return;
            }
        }
        if (!breaks)
            continue;
        // The footers print with the last record of their group.
        bool steppedBack = false;
        if (!atEnd) {
            try {
                source.Prior();
                steppedBack = true;
            } catch (const std::exception&) {
                steppedBack = false;
            }
        }
        for (TrpBand* inner = band.LastGroup; inner && inner != header; inner = inner->PrevGroup) {
            Queue(inner->GroupFooter);
            inner->SetLineNo(0);
            if (inner->GroupFooter)
                inner->GroupFooter->SetLineNo(0);
        }
        Queue(header->GroupFooter);
        FlushQueue();
        if (atEnd)
            return;
        if (steppedBack)
            source.Next();
        if (header->FormNewPage && header->Visible)
            NewPage();
        for (TrpBand* started = header; started; started = started->NextGroup) {
            StartGroup(*started);
            Queue(started);
        }
        band.SetLineNo(0);
        return;
    }
}
