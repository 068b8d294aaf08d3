#pragma once
// The run-time band: what a band object of a page becomes while the page is built. This holds
// what expressions and scripts reach (its type, data source, chain, record counters and the
// script's page and column break requests); the band engine drives it.
#include <QString>

class TrpDataset;
class TrpPage;
class TrpView;

enum TrpBandType : int {
    btReportTitle, btReportSummary, btPageHeader, btPageFooter,
    btMasterHeader, btMasterData, btMasterFooter,
    btDetailHeader, btDetailData, btDetailFooter,
    btSubDetailHeader, btSubDetailData, btSubDetailFooter,
    btOverlay, btColumnHeader, btColumnFooter, btGroupHeader, btGroupFooter,
    btCrossHeader, btCrossData, btCrossFooter, btChild, btNone
};
constexpr int kBandTypeCount = 23;

class TrpBand {
public:
    TrpBand(int bandType, TrpPage* page) : BandType(bandType), Page(page) {}

    int BandType;
    TrpPage* Page;
    TrpView* View = nullptr;   // the band object; none for an empty slot
    QString Name;
    TrpDataset* DataSet = nullptr;
    // The chain of bands of the same type, ordered by top.
    TrpBand* Next = nullptr;
    TrpBand* Prev = nullptr;

    // LINE#: the record number within the current walk; LINETHROUGH#: the running number.
    int LineNo = 1;
    int LineThroughNo = 1;

    // Requests of the band's script (NEWPAGE, NEWCOLUMN), and whether it assigned CURY while
    // they were pending.
    int PendingPageBreaks = 0;
    int PendingColumnBreaks = 0;
    bool CurYAssigned = false;

    // The band whose counters LINE# and LINETHROUGH# read: this one when it has a data source
    // of its own, else the first band of its chain.
    const TrpBand* CounterBand() const
    {
        const TrpBand* band = this;
        if (!band->DataSet)
            while (band->Prev)
                band = band->Prev;
        return band;
    }
};
