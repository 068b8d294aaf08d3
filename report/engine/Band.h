#pragma once
// The run-time band: what a band object of a page becomes while the page is built. This holds
// what expressions, scripts and the band object's script properties reach (its type, geometry,
// flags, data source, chain, record counters and the script's page and column break requests);
// the band engine drives it.
#include <cstdint>
#include <memory>

#include <QString>
#include <QVariant>

#include "report/expr/Variables.h"

class TrpDataset;
class TrpPage;
class TrpRunContext;
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

inline bool IsCrossBand(int bandType)
{
    return bandType >= btCrossHeader && bandType <= btCrossFooter;
}

class TrpBand {
public:
    TrpBand(int bandType, TrpPage* page);
    ~TrpBand();
    TrpBand(const TrpBand&) = delete;
    TrpBand& operator=(const TrpBand&) = delete;

    int BandType;
    TrpPage* Page;
    TrpView* View = nullptr;   // the band object; none for an empty slot
    QString Name;   // the band object's name: aggregate calls name their data band by it
    // Geometry in page units: Top is where the band prints on the page being built, Height its
    // current height; Left and Width place cross bands.
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    uint16_t Flags = 0;   // the band object's flags
    bool Visible = true;
    bool Breaked = false;   // the band may be split across pages (this print)
    TrpBand* Child = nullptr;
    // A group header's condition, in the parser's postfix form.
    QString Condition;
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

    // A group header takes the text as its condition; other bands the data source it names
    // (FindDataSetByName; a text holding ";" names none). A master data band of a simple report
    // that names none walks the report's own source.
    void SetupDataSource(TrpRunContext& context, const QString& text);
    // Ends the walk of the data source and frees it when the band made it (a band being
    // destroyed frees what it made, without ending any walk).
    void ReleaseDataSource();

    // Aggregates (Aggregates.h). A data band: the values it accumulates, by aggregate name, and
    // the records accumulated since they were last reset.
    TrpVariables AggregateValues;
    int AggregateCount = 0;
    // A band that prints aggregate values (a footer): the data band that accumulates them.
    TrpBand* AggregateBand = nullptr;
    // A header or footer: the data band it belongs to; none means the first data band of its
    // level.
    TrpBand* DataBand = nullptr;

    void SetAggregateValue(const QString& name, const QVariant& value);
    // The value registered under the name (null when there is none); an average is divided by
    // AggregateCount, and is 0 while the count is 0.
    QVariant AggregateValue(const QString& name) const;

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

private:
    std::unique_ptr<TrpDataset> ownedDataSet_;   // a counting source the band made
};
