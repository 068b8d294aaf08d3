#pragma once
// The run-time band: what a band object of a page becomes while the page is built. It holds
// what expressions, scripts and the band object's script properties reach (its type, geometry,
// flags, data source, chains, record counters, the script's page and column break requests) and
// prints itself into the prepared pages: stretching to its content, breaking pages and columns,
// splitting across pages, drawing its child band, laying out its sub-reports and cross cells,
// and accumulating and resetting aggregate values.
//
// Drawing is BandDrawing.cpp, splitting BandSplit.cpp, aggregates Aggregates.cpp, sub-reports
// SubReportLayout.cpp and cross cells CrossBands.cpp; the page build (Page.h) sets bands up and
// calls Draw.
#include <cstdint>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>
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

inline bool IsDataBand(int bandType)
{
    return bandType == btMasterData || bandType == btDetailData || bandType == btSubDetailData;
}

class TrpBand {
public:
    // An empty band of that type: no objects, no chain, LINE# and LINETHROUGH# 1, visible.
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
    // Options taken from Flags when the band is set up.
    bool Stretched = false;
    bool FormNewPage = false;
    bool PrintIfSubsetEmpty = false;
    bool PrintChildIfInvisible = false;
    // The height the band needs this time (-1 before it is known), and the height it took when
    // stretched or split.
    int NeededHeight = -1;
    int PrintedHeight = 0;
    TrpBand* Child = nullptr;
    // A group header's condition, in the parser's postfix form, and its value when the group
    // last started (unassigned until then).
    QString Condition;
    QVariant GroupValue;
    TrpDataset* DataSet = nullptr;
    // The source whose records repeat the band's cross cells, when not the Cross data band's.
    TrpDataset* CrossDataSet = nullptr;
    // The chain of bands of the same type, ordered by top; the first band knows the last.
    TrpBand* Next = nullptr;
    TrpBand* Prev = nullptr;
    TrpBand* Last = nullptr;
    // A data band's header and footer, and its group headers (in the Group header chain's
    // order); a group header's neighbours among them and its footer.
    TrpBand* HeaderBand = nullptr;
    TrpBand* FooterBand = nullptr;
    TrpBand* FirstGroup = nullptr;
    TrpBand* LastGroup = nullptr;
    TrpBand* NextGroup = nullptr;
    TrpBand* PrevGroup = nullptr;
    TrpBand* GroupFooter = nullptr;
    // The objects the band prints, tops relative to the band, in drawing order (sub-reports
    // last); the page owns them.
    std::vector<TrpView*> Objects;
    QStringList Memo;
    QStringList Script;   // compiled
    // Band columns: the column the next record takes (from 1) and the x where the first began.
    int BandColumn = 1;
    int BandColumnX = 0;
    // The script is not run at the next draw (a band resumed on a new page), and the band's
    // values are not reset after it prints (a group header repeated on a new page).
    bool SkipScript = false;
    bool KeepValues = false;

    // LINE#: the record number within the current walk; LINETHROUGH#: the running number.
    int LineNo = 1;
    int LineThroughNo = 1;

    // Requests of the band's script (NEWPAGE, NEWCOLUMN), and whether it assigned CURY while
    // they were pending.
    int PendingPageBreaks = 0;
    int PendingColumnBreaks = 0;
    bool CurYAssigned = false;

    // Sub-reports: the index in Objects of the first one (-1 none), which of them are done, and
    // where the longest of them ended.
    int FirstSubReport = -1;
    std::vector<bool> SubReportDone;
    bool SubReportsAllDone = true;
    int SubReportsEnd = 0;

    // A band exists when it has a band object, or is the None band with objects; a band that
    // does not exist prints nothing and never breaks a page.
    bool Exists() const;
    // Prints the band at the page's current position with its child; true when it broke a page
    // or column (on a sub-report's page: when it did not fit and the parent must break).
    bool Draw();
    // The height the band (with the bands printed with it) needs now.
    int CalcHeight();
    // Whether a band of that height fits at y above the Column footer; when it does not and
    // breaking is allowed, a new column or page is begun.
    bool CheckPageBreak(int y, int dy, bool breakPage = true);
    // Sets LINE#, which also forgets the last printed value of the band's memos.
    void SetLineNo(int lineNo);
    // A group header stores the values of its condition and of every later one; a band that
    // prints aggregate values resets them.
    void ResetAggregates();
    // Adds the current record to the band's aggregate values; with a cross column (from 1),
    // to that column's values only, which the first call for the column creates.
    void Accumulate(int column = 0);
    // Whether the band holds objects of cross bands.
    bool HasCrossObjects() const { return crossObjects_; }

    // A group header takes the text as its condition; other bands the data source it names
    // (FindDataSetByName; a text holding ";" names none). A master data band of a simple report
    // that names none walks the report's own source.
    void SetupDataSource(TrpRunContext& context, const QString& text);
    // The source of the band's cross columns, named as a data source text is.
    void SetupCrossDataSource(TrpRunContext& context, const QString& text);
    // Ends the walk of the data source and frees it when the band made it (a band being
    // destroyed frees what it made, without ending any walk).
    void ReleaseDataSource();

    // Aggregates (Aggregates.h). A data band: the values it accumulates, by aggregate name; an
    // average divides by the records its own value took since the band that shows it last reset
    // it (AverageCounts, by name), as several footers of one data band reset theirs at different
    // times.
    TrpVariables AggregateValues;
    QHash<QString, int> AverageCounts;
    // A band that prints aggregate values (a footer): the data band that accumulates them.
    TrpBand* AggregateBand = nullptr;
    // A header or footer: the data band it belongs to; none means the first data band of its
    // level.
    TrpBand* DataBand = nullptr;
    // A Cross header or footer while its cell in a footer's row (a corner of the table) prints
    // or is scanned: that footer, whose totals over the whole table the corner shows.
    TrpBand* CornerOf = nullptr;

    void SetAggregateValue(const QString& name, const QVariant& value);
    // The value registered under the name (null when there is none); an average is divided by
    // its count of records, and is 0 while that is 0; a minimum or maximum no record reached is 0.
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
    friend class TrpPage;

    // The band itself at PosY, without its child; true when sub-reports did not finish.
    bool DrawItself();
    bool DrawObjects();
    void DrawObject(TrpView* view);
    // Writes the object into the prepared page being filled, shifted by (dx, dy).
    void PrintObject(TrpView* view, int dx, int dy);
    // Splits the band across pages; true when it laid out sub-reports, which set PosY.
    bool DrawPageBreak();
    // A split object that does not fit the room a page gives it at its top ends the build with
    // an error naming it (true); a sub-report's page leaves that to the page it prints on.
    bool NeverFits(TrpView& view, int height, int room);
    // max(Height, the lowest stretchable object's end), over the cross cells too.
    int ContentHeight();
    int ObjectsHeight();
    int CrossContentHeight();
    void SaveObjectHeights();
    void RestoreObjectHeights();
    void NextBandColumn();
    // Builds the sub-reports' pages from the object at that index on and lays them out.
    void DrawSubReports(size_t first);
    // Lays the sub-reports out, page after page, until all are done or this band's page is a
    // sub-report's page that must break first (the band is then its PendingBand).
    void LayOutSubReports();
    // Moves the objects below the object (and within its width) down by dy.
    void ShiftObjectsBelow(const TrpView* view, int dy);
    void DrawCrossCells();
    // In a band split across pages, the cross cells print whole with the part that holds their
    // row; a row the part cuts goes on at the next part's top. avail is the part's room, pageRoom
    // a fresh page's; lowest grows to the row's end when it prints.
    void PlaceCrossRow(int avail, int pageRoom, int& lowest);
    // The data source whose records give the cross columns, or none.
    TrpDataset* CrossSource();
    // Copies every value registered for all cross columns into that column, unless it has it.
    void AddColumnValues(int column);

    std::unique_ptr<TrpDataset> ownedDataSet_;   // a counting source the band made
    std::unique_ptr<TrpDataset> ownedCrossDataSet_;
    std::vector<int> savedHeights_;
    // Where the sub-reports' layout began: the page index and the parent's position.
    int subPageNoBefore_ = 0;
    int subPosBefore_ = 0;
    bool crossObjects_ = false;
};
