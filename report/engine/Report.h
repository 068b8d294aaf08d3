#pragma once
// The report component: one per template, placed on a window (its parent is its owner and
// its objectName its component name). It is made with the run context it builds in, owns its
// design pages and its data dictionary, and during a build it is where expressions resolve
// names and functions (ReportValues.cpp). Its template reading, build, preview, printing and
// export belong to the same class.
#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "base/DateTime.h"
#include "report/data/DataDictionary.h"
#include "report/data/Dataset.h"
#include "report/engine/Page.h"

class TrpEMFPages;
class TrpExportFilter;
class TrpPageRange;
class TrpPrintJob;
class TrpPreviewHost;
class TrpProgressWindow;
class TrpRunContext;

enum TrpReportType { rtSimple, rtMultiple };
// The first zoom of a preview: the one last used, the page width, one page, two pages.
enum TrpPreviewZoom { pzDefault, pzPageWidth, pzOnePage, pzTwoPages };
// The buttons of the preview's tool bar.
enum TrpPreviewButton : uint16_t {
    pbZoom = 1,
    pbLoad = 2,
    pbSave = 4,
    pbPrint = 8,
    pbFind = 16,
    pbHelp = 32,
    pbExit = 64,
    pbPageSetup = 128,
};
using TrpPreviewButtons = uint16_t;

// Which pages of a print's page list print (numbered from 1).
enum TrpPrintPages : uint8_t { ppAll = 0, ppOdd = 1, ppEven = 2 };

// The report information block of a template.
struct TrpReportInfo {
    QString Comment;   // REPORTCOMMENT
    QString Name;      // REPORTNAME
    QString Author;    // REPORTAUTOR
    QString VersionMajor, VersionMinor, VersionRelease, VersionBuild;
    QString Password;
    uint8_t Generator = 88;
    uint8_t Protected = 0;
    TDateTime Created = 0;      // REPORTDATE
    TDateTime LastChange = 0;   // REPORTLASTCHANGE
};

// The value of a name, asked first (ParValue arrives unassigned; leaving it so passes on).
using TDetailEvent = std::function<void(const QString& name, QVariant& value)>;
// Before an object prints: its lines as they will print (the handler may change them) and the
// object.
using TEnterRectEvent = std::function<void(QStringList& memo, TrpView* view)>;
// A prepared page begins or ends (its 0-based number).
using TPageEvent = std::function<void(int pageNo)>;
// The preview's pointer over an object of a prepared page: a click, and a move (the handler may
// change the cursor).
using TObjectClickEvent = std::function<void(TrpView* view)>;
using TMouseOverObjectEvent = std::function<void(TrpView* view, Qt::CursorShape& cursor)>;
// A band begins or ends printing.
using TBandEvent = std::function<void(TrpBand* band)>;
// A cross column is about to print (COLUMN# from 1); the handler may change its width.
using TPrintColumnEvent = std::function<void(int columnNo, int& width)>;
// Builds a page by hand, printing its bands through TrpPage::PrintBand and its breaks.
using TManualBuildEvent = std::function<void(TrpPage* page)>;
// Just before a print job starts.
using TPrintReportEvent = std::function<void()>;
// The document begins or ends: just before and just after a build.
using TBeginDocEvent = std::function<void()>;
using TEndDocEvent = std::function<void()>;
// A function nobody else knows, asked last.
using TUserFunctionEvent = std::function<void(const QString& name, const QVariant& p1, const QVariant& p2,
                                              const QVariant& p3, QVariant& value)>;

class TrpReport : public QObject {
    Q_OBJECT
    TrpRunContext& context_;   // first: the dictionary is made with it

public:
    explicit TrpReport(TrpRunContext& context, QObject* owner = nullptr);
    // Leaves no run variable of the context pointing at the report, its pages or objects.
    ~TrpReport() override;

    TrpRunContext& Context() const { return context_; }
    // The first object, over the pages in order, whose name equals name ignoring case.
    TrpView* FindObject(const QString& name) const;
    // A new design page, last, on the default paper; it reaches the run context through this
    // report.
    TrpPage* AddPage();

    // ---- The template (TemplateFile.cpp).

    // Reads a template stream from the stream's position to its end. Whatever goes wrong is
    // shown in the engine's error box and goes no further: a newer version leaves the pages as
    // they were; missing add-in classes are listed, the other objects stay; a damaged stream
    // leaves one empty page. False when the template was not read whole.
    bool LoadFromStream(QIODevice& stream);
    // Writes the template as a version-25 stream at the stream's position.
    void SaveToStream(QIODevice& stream);
    // The window property "ReportForm": the i32 version, then (with StoreInDFM) the i32 size and
    // the template stream, kept until Loaded reads it.
    void ReadReportForm(QIODevice& stream);
    void WriteReportForm(QIODevice& stream);
    void Loaded();
    // Empties the pages, the dictionary, TwoPass and the report information.
    void ClearTemplate();
    // Empty texts and password, created and last change now, generator 88, not protected.
    void ResetReportInfo();

    // ---- The driver (ReportBuild.cpp, ReportOutput.cpp).

    // Builds the prepared pages from the template, in two passes when TwoPass is set (the first
    // pass only counts the pages, TOTALPAGES), under the context's progress window when
    // ShowProgress is set, and restores the template afterwards: whatever the build changed in
    // it is gone. True when the pages were built. An error is shown in the engine's error box
    // and leaves the prepared pages as they were before; Cancel keeps the pages built so far.
    // Refused (false) while another build, print or export runs in the context.
    bool BuildReportPages();
    // BuildReportPages, then ShowReportPages unless the build failed.
    void ShowReport();
    // Shows the prepared pages, if there are any: in the embedded preview when there is one,
    // else in a preview window of their own.
    void ShowReportPages();
    // Writes the prepared pages into a new file through the filter: the filter's OnBeforeExport
    // may change the name or cancel, its options may be refused; the file replaces an existing
    // one only once complete. The pages exported are those the user sees: with an empty list
    // and an embedded preview, the pages the preview shows, given back to the preview after.
    // True when the file was written; failures to write raise.
    bool RunExport(TrpExportFilter& filter, const QString& fileName);
    // Prepared-report files (.rpp): a damaged file raises and leaves the pages as they were.
    void LoadReportPages(const QString& fileName);
    void SaveReportPages(const QString& fileName);
    // One build pass over every page (once per record of Dataset with rtMultiple).
    virtual void BuildAllPages();
    // Draws every band-aligned object once, so that each takes its place before the build.
    void PreDrawAligned();

    // The embedded preview that shows this report's pages; none: a preview window of its own.
    TrpPreviewHost* Preview() const { return preview_ && *preview_ ? *preview_ : nullptr; }
    void SetPreview(TrpPreviewHost* preview);

    // Name resolution and value formatting (ReportValues.cpp).
    // Binds the context's parser to this report: names go to ResolveVariable, calls nobody
    // else knows to CallParserFunction.
    void BindParser();
    // Releases the parser when it is bound to this report (a report being destroyed).
    void UnbindParser();
    // The text that replaces one bracketed expression of the current object: the expression
    // (with an optional " #" format of its own) resolved and formatted by the object's format.
    void ExpandExpression(const QString& expression, QString& text);
    QString ExpandExpression(const QString& expression);
    // The value of a name, in this order: OnGetValue, the dictionary (data fields and report
    // variables), the report's own variables (PAGE#, DATE, ...), script variables, the system
    // values, object properties and named constants, and at last the parser, evaluating the
    // name as an expression. A name nobody knows raises EParserError "Undefined symbol" with the
    // name in double quotes (not while page preparation scans texts).
    void ResolveVariable(const QString& name, QVariant& value);
    void GetSystemValue(const QString& name, QVariant& value);
    // A call the parser does not know: the function libraries, else the report's script
    // functions and OnUserFunction. The parameters are the unevaluated texts.
    void CallParserFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                            QVariant& value);
    void CallInterpreterFunction(const QString& name, const QVariant& p1, const QVariant& p2, const QVariant& p3,
                                 QVariant& value);
    QString FormatValue(const QVariant& value, uint32_t format, const QString& formatText) const;
    // Called by an object before it prints: an object bound to a blob field loads its content
    // from the field, then OnBeforePrint.
    void BeforePrintHook(QStringList& memo, TrpView* view);

    // A step of a build's, print's or export's progress: the page number being done, to
    // OnProgress, else to the progress window (which lets Cancel through).
    void ShowProgressPage(int pageNo);
    // Before a cross column prints; OnBeginColumn and OnPrintColumn when assigned.
    void BeginColumnHook(TrpBand* band);
    void PrintColumnHook(int columnNo, int& width);

    // Makes the report printer's printer of that name (compared without regard to case) current
    // unless PrintToDefault is set; the name is kept as PrinterName in any case.
    void SelectPrinter(const QString& name);

    // ---- Printing of the prepared pages (ReportPrinting.cpp).

    // Prints the prepared pages on the report printer: those of the page list ("1,3,5-12", "5-"
    // up to the last page, "" every page) that printPages lets through, copies times, collated
    // (the whole list again for each copy) or each page's copies together. The virtual printer
    // writes a PDF file that the context's PdfFileDialog names. The pages go under the progress
    // window, whose Cancel stops the job after the page being printed. A list that is no page
    // list or names no page of the report, and a printer that fails, are told in the engine's
    // error box, and no job is left open. True when every page was sent.
    bool PrintReportPages(const QString& pageNumbers, int copies, bool collate, uint8_t printPages);
    // The print dialog's printer change: the report printer's printer newIndex becomes current
    // and the design pages take their paper on it again. A printer that cannot be chosen is
    // told ("Printer selected is not valid"), oldIndex becomes current again and the result is
    // false.
    bool SwitchPrinter(int oldIndex, int newIndex);
    // Every design page applies its own paper again.
    void ApplyPagesPaper();

    std::vector<std::unique_ptr<TrpPage>> Pages;
    // The prepared pages: what the last build printed, or what a prepared-report file held. The
    // preview takes the list while it shows it and leaves the report an empty one.
    std::unique_ptr<TrpEMFPages> EMFPages;
    // The printer the report asks for, and whether it keeps the current printer instead.
    QString PrinterName;
    bool PrintToDefault = false;
    TrpDataDictionary Dictionary{context_};
    // The report's own data source: with rtMultiple the report is built once per record, and a
    // master-data band without a source of its own walks it. Cleared when it is destroyed.
    QPointer<TrpDataset> Dataset;
    TrpReportType ReportType = rtSimple;
    // Pages print also when the first Master data band's source has no records.
    bool PrintIfEmpty = true;
    bool UseDefaultDataSetName = false;
    TrpReportInfo ReportInfo;
    // The template is kept in the window's definition ("ReportForm").
    bool StoreInDFM = false;
    QString FileName;   // "Untitled" until a file is named

    // Shown in the preview and progress captions; the print job's name.
    QString Title;
    // The print dialog starts with these.
    int DefaultCopies = 1;
    bool DefaultCollate = true;
    // Builds, prints and exports run under the context's progress window (when it has one).
    bool ShowProgress = true;

    // The export filter of the running export, else none.
    TrpExportFilter* CurrentFilter = nullptr;

    // Run-time state of a build.
    bool Terminated = false;   // the running build, print or export is to stop
    bool FinalPass = false;    // the pass being built is the final one
    bool TwoPass = false;      // the template asks for two passes
    bool Rebuildable = false;  // the prepared pages came from this template

    // How the preview shows the pages and what it offers.
    bool ModalPreview = true;
    bool MDIPreview = false;
    bool ModifyPrepared = true;
    bool GrayedButtons = false;
    bool ShowPrintDialog = true;
    bool RebuildPrinter = false;
    TrpPreviewZoom InitialZoom = pzDefault;
    TrpPreviewButtons PreviewButtons = pbZoom | pbLoad | pbSave | pbPrint | pbFind | pbHelp | pbExit;

    TBeginDocEvent OnBeginDoc;
    TEndDocEvent OnEndDoc;
    TDetailEvent OnGetValue;
    TEnterRectEvent OnBeforePrint;
    TUserFunctionEvent OnUserFunction;
    TPageEvent OnBeginPage;
    TPageEvent OnEndPage;
    TPageEvent OnProgress;
    TBandEvent OnBeginBand;
    TBandEvent OnEndBand;
    TBandEvent OnBeginColumn;
    TPrintColumnEvent OnPrintColumn;
    TManualBuildEvent OnManualBuild;
    TObjectClickEvent OnObjectClick;
    TMouseOverObjectEvent OnMouseOverObject;
    TPrintReportEvent OnPrintReport;

private:
    // The pages section of a template: flags, printer name, the page and object records, the
    // dictionary.
    void LoadPagesSection(QIODevice& stream);
    void SavePagesSection(QIODevice& stream);
    void LoadObjectRecord(QIODevice& stream, uint8_t type);
    void ReadTemplate(QIODevice& stream);

    // Frees the design pages; no run variable is left pointing into them.
    void ClearPages();
    void ForgetPages();

    // How the last build ended: the pages built, stopped with the pages built so far, or failed
    // with no pages.
    enum class TBuildOutcome { Built, Stopped, Failed };
    bool BuildWithProgress();
    // A failed build leaves no pages, neither in the report nor in the preview showing it.
    void ClearPreparedPages();
    // Sub-reports whose targets place one another in a ring (a page placing itself included)
    // would build without end: false with the build's error set, naming the ring.
    bool CheckSubReportRings();
    // The progress window the report's work runs under: none without ShowProgress, with an
    // OnProgress handler, or without windows.
    TrpProgressWindow* ProgressWindow() const;
    void RunPasses();
    void BuildPass();
    // Runs the work on the pages the user sees: this report's own, or, with an empty list and
    // an embedded preview, those the preview shows (of this report or of another one shown
    // there since), lent back by the preview for the work and shown again afterwards.
    bool WithVisiblePages(const std::function<bool(TrpReport& owner)>& work);
    bool ExportOwnPages(TrpExportFilter& filter, const QString& fileName);
    TBuildOutcome lastBuild_ = TBuildOutcome::Built;
    std::shared_ptr<TrpPreviewHost* const> preview_;

    // The template read from "ReportForm", until Loaded.
    std::unique_ptr<QByteArray> pendingTemplate_;

    bool PrintOwnPages(const QString& pageNumbers, int copies, bool collate, uint8_t printPages);
    void PrintAllPages(const TrpPageRange& pageList, int copies, bool collate, uint8_t printPages,
                       const QString& fileName);
    void PrintPage(TrpPrintJob& job, int index);

    bool Holds(const TrpPage* page) const;
    bool Holds(const TrpView* view) const;
};
