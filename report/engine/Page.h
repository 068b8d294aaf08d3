#pragma once
// A design page of a report: its paper, margins and columns, its objects, its script and, for a
// dialog page, the properties of its form; and the state the page build keeps while it prints
// the page. The page takes its paper through the report printer of its report's run context;
// its record in a template is PageRecord.cpp, its script properties PageProperties.cpp.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <QIODevice>
#include <QString>
#include <QStringList>

#include "report/engine/Band.h"
#include "report/objects/ReportObject.h"
#include "report/objects/View.h"
#include "report/paper/PaperGeometry.h"
#include "report/paper/PaperTable.h"
#include "report/paper/ReportPrinter.h"

enum TrpPageType : uint8_t { ptReport = 0, ptDialog = 1 };
// How a page build prints: bands straight into the prepared pages, or recorded for playback
// (the page of a sub-report).
enum TrpBuildMode : uint8_t { bmDirect, bmDeferred };
// One recorded step of a deferred build: print the band, or move its data source to the first
// or the next record.
enum TrpDeferredKind : uint8_t { dkPrint, dkFirst, dkNext };
struct TrpDeferredEntry {
    TrpBand* Band;
    TrpDeferredKind Kind;
};
// A dialog page's form: its border and where it shows.
enum TrpFormBorderStyle : uint8_t { bsSizeable = 2, bsDialog = 3 };
enum TrpFormPosition : uint8_t { poDesigned = 0, poScreenCenter = 4 };

class TrpPage : public TrpObject {
public:
    // A page of the report with that paper (ApplyPaper); the report reaches the run context
    // whose printer gives the paper. The page is not placed in the report's page list.
    TrpPage(TrpReport& report, int size, int width, int height, int bin, uint8_t orientation);

    // The paper through the report printer: Size, PaperWidth, PaperHeight, Orientation and
    // PaperBin become what the printer made of it, PaperGeometry its geometry. A paper the
    // printer refuses is asked for again as a custom size of the same width and height in any
    // source; a second refusal goes to the caller.
    void ApplyPaper(int size, int width, int height, int bin, uint8_t orientation);

    // Where printing may go on the page, in page units: the whole sheet with MarginsOn off,
    // else each margin, or the printer's unprintable border where a margin is 0. While a report
    // is printed the bottom limit leaves room for the Page footer band.
    int TopLimit() const;
    int BottomLimit() const;
    int LeftLimit() const;
    int RightLimit() const;   // PAGEWIDTH
    // The height between the top and the bottom limit the page would have on that sheet with
    // those margins, the Page footer's room not taken off.
    int RoomHeight(const TPaperGeometry& sheet, int topMargin, int bottomMargin) const;

    // The page record of a template (the objects are records of their own), in the layout of
    // the context's TemplateVersion when read; always the current layout when written. Reading
    // ends with ApplyPaper to the paper read. A record that ends early raises EReadError.
    void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream) const;

    // Places an object last on the page; it reaches the run context through the page's report.
    TrpView* AddObject(std::unique_ptr<TrpView> object);
    // The first object whose name equals name without regard to case, or none.
    TrpView* FindObject(const QString& name) const;
    void DeleteObject(int index);
    void Clear();   // frees every object

    // Script properties (Type, Visible, Size, Width, Height, the margins, Orientation, ...).
    void SetPropertyValue(const QString& name, const QVariant& value) override;
    QVariant GetPropertyValue(const QString& name) override;
    void DeclareProperties() override;

    // The first band (types in order, each chain in order) whose band object carries that
    // name, without regard to case, or none.
    TrpBand* FindBandByName(const QString& name) const;
    // SHOWBAND: prints that band at the current position.
    void PrintBandByName(const QString& name);
    // Prints one band at the current position (deferred: records it); none does nothing.
    void PrintBand(TrpBand* band);

    // ---- The build, in the order the driver calls it: StartReport for every page (dialog
    // pages first), PrepareObjects for every report page, BuildPage for every visible report
    // page that is no sub-report's page, EndReport for every page. A second pass of a two-pass
    // build keeps the bands of the first.

    // Report page: turns the band objects into run-time bands with their objects, chains and
    // links. Dialog page: runs its script; a modal result of 2 cancels the build.
    void StartReport();
    // Binds objects to blob fields and registers the aggregate calls of the footers with their
    // data bands.
    void PrepareObjects();
    // Prints the page: title, page header, the data loop over every level, summary, page footers.
    void BuildPage();
    // Frees the bands.
    void EndReport();
    // Page and column breaks; the band that asked for a column break repeats its header.
    // NewPage is true when it began a page; a page that holds nothing of the report's body yet
    // is kept instead.
    bool NewPage();
    void NewColumn(TrpBand* band);
    // Prints the Page footer on every prepared page from PageNo on, by its first-page flag and,
    // at the report's end, its last-page flag.
    void FinishPage(bool reportEnd = false);
    // A page a cross row wider than the page goes on to, appended with its Overlay and Page
    // header; the row, at rowTop, keeps its place.
    void AddCrossRowPage(int rowTop);
    // Compiles the lines and runs them (the page's script), with no current object.
    void RunScript(const QStringList& lines);
    // Plays the recorded steps of a deferred build from PlayPos on; true when the band drawn
    // needs a new page (the same step is taken again next time), false at the end.
    bool Playback();
    // The lowest position the rows of sub-reports placed on this page may reach.
    int SubReportLimitY() const;

    // The paper: a Windows paper id (256 a custom size) and the size in tenths of a millimetre
    // as the printer reports it for that id and orientation.
    int Size = kPaperA4;
    int PaperWidth = 0;
    int PaperHeight = 0;
    uint8_t Orientation = poPortrait;
    int PaperBin = kDefaultBin;
    // Margins in page units; 0 takes the printer's unprintable border. With MarginsOn off none
    // counts and the page is the whole sheet.
    int LeftMargin = 0, TopMargin = 0, RightMargin = 0, BottomMargin = 0;
    bool MarginsOn = true;
    // The page continues on the space left on the previous prepared page.
    bool PrintToPrevPage = false;
    TPaperGeometry PaperGeometry;   // refreshed by every paper change
    // Columns: a stored 0 counts as 1 when a build starts, which computes ColumnWidth.
    int Columns = 0;
    int ColumnWidth = 0;
    int ColumnGap = 0;

    uint8_t Type = ptReport;
    QString Name;
    bool Visible = true;   // an invisible report page only runs its script
    // Run at the start of each build of a report page, or when a dialog page's form activates.
    QStringList Script;
    // The page's objects in drawing order; the page owns them.
    std::vector<std::unique_ptr<TrpView>> Objects;

    // A dialog page's form.
    uint8_t BorderStyle = bsDialog;
    QString Caption = QStringLiteral("Form");
    uint32_t Color = 0xFF00000F;   // the system button-face colour
    int Left = 220, Top = 120, Width = 380, Height = 300;
    uint8_t Position = poScreenCenter;

    // Build state.
    int PosY = 0;     // the current print position
    int LimitY = 0;   // the lowest position band content may reach
    int CurrentNo = 1;   // CURRENT#: records printed on this page build
    int ColumnNo = 1;    // COLUMN#: cross column number
    // The first band of each type's chain while the page is built (the build owns them).
    std::array<TrpBand*, kBandTypeCount> Bands{};
    bool BandsReady = false;
    bool IsSubTarget = false;   // placed by a sub-report object, never built on its own
    TrpBuildMode BuildMode = bmDirect;
    std::vector<TrpDeferredEntry> DeferredList;
    size_t PlayPos = 0;
    // A band of this (sub-report) page that holds sub-reports and stopped at a page end.
    TrpBand* PendingBand = nullptr;
    int ColumnIndex = 0;     // the page column being filled, from 0
    int ColumnTopY = 0;      // where columns start: below the Column header
    int ColumnOffsetX = 0;   // x of the current column
    // Where the room of a page a break made starts, below its headers; -1 before the first
    // break of the page build. Every later page is taken to start its room there too.
    int NewPageTopY = -1;
    TrpBand* PrevBand = nullptr;   // the band printed last
    bool NoRepeatHeaders = false;
    // While preparation collects aggregate calls (PrepareScanFlag): the data band they are
    // collected for. A call registers its value with this band only when it names it.
    TrpBand* AggregateSource = nullptr;
    // The modal result a dialog page's script gives its form (MODALRESULT).
    int ModalResult = 0;

private:
    // The top limit, and the bottom one before the Page footer's room, on that sheet.
    int TopLimitOn(const TPaperGeometry& sheet, int topMargin) const;
    int SheetBottomOn(const TPaperGeometry& sheet, int bottomMargin) const;
    // "Page" and the first number from 1 that no other page of the report is named by.
    QString DefaultName() const;

    // Whether the page of that index gets the Page footer; lastPage is -1 before the report's end.
    bool FooterDue(int page, int lastPage) const;
    void SetupBands();
    TrpBand* AddBand(int bandType);
    void FillBand(TrpBand& band, TrpView& bandObject);
    void SetupCrossBands();
    void LinkLevels();
    void LinkGroups();
    void CollectAggregates();
    void StartDialogPage();
    // After the data loop: column footer, summary, the page footers.
    void EndPageBuild();
    void RunDataLoop(int level, int deepest);
    // After a record: the footers of the groups that end and the headers of those that start.
    void CheckGroups(TrpBand& band);
    void Queue(TrpBand* band);
    void FlushQueue();
    void Record(TrpBand* band, TrpDeferredKind kind);
    // Stops a build whose page breaks print nothing: one band that can never fit.
    void CheckProgress();
    // An object was printed; page furniture (headers and footers a break prints) does not count.
    void NoteContent()
    {
        if (furniture_ == 0)
            emptyBreaks_ = 0;
        NoteBody();
    }
    // A band of the report's body was drawn, or one of its objects printed.
    void NoteBody()
    {
        if (furniture_ == 0)
            bodyOnPage_ = true;
    }

    std::vector<std::unique_ptr<TrpBand>> ownedBands_;
    // The bands of one record waiting to print: headers and data bands whose detail may be
    // empty. It grows as deep as the template nests.
    std::vector<TrpBand*> queue_;
    // Page breaks in a row with nothing printed between them, and a break under way.
    int emptyBreaks_ = 0;
    bool inNewPage_ = false;
    // A band of the report's body (not the headers and footers a break prints) was drawn on the
    // page being filled. A break from a page without one makes no new page, unless a band's
    // script asked for it (breakAsked_).
    bool bodyOnPage_ = false;
    bool breakAsked_ = false;
    // A band that starts a new page after it has printed: the next band of the body begins it.
    bool newPageDue_ = false;
    int furniture_ = 0;   // nesting of the prints a break makes
    int widestCrossRow_ = 0;   // the most cross data cells a row had
    friend class TrpBand;
};
