#pragma once
// The report engine's run context: the engine's tables (parser, interpreter, variable lists,
// function libraries, texts, scratch pictures) and the run-time variables of the build, print
// or export that is running. The program makes one in main() and hands it to its reports; a
// test makes its own. One build, print or export runs in a context at a time, on the thread
// that made it. Only registries of classes (object classes, export filters) and constant tables
// stay process-wide.
//
// How code reaches it:
// - a report is made with its context: TrpReport(context, owner), and report.Context();
// - pages and objects reach it through the report that holds them: TrpObject::Context(). A page
//   gets its report from TrpReport::AddPage, an object from TrpPage::AddObject; whatever else
//   holds objects (prepared pages) sets their Report the same way;
// - free functions that need it take it as their first argument;
// - a new engine-wide variable becomes a field below, with its meaning beside it.
#include <functional>
#include <memory>
#include <vector>

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "base/DateTime.h"
#include "report/expr/FunctionLibrary.h"
#include "report/expr/Parser.h"
#include "report/expr/ReportInterpreter.h"
#include "report/expr/ReportVariant.h"
#include "report/expr/Variables.h"
#include "report/file/StreamPrimitives.h"
#include "report/objects/TextMeasure.h"
#include "report/paper/PlatformPrinter.h"
#include "report/paper/ReportPrinter.h"
#include "report/runtime/Compressor.h"
#include "report/runtime/Locale.h"

class TrpReport;
class TrpPage;
class TrpBand;
class TrpView;
class TrpProgressWindow;
class TrpExportFilter;
class QTextDocument;

class TrpRunContext {
public:
    TrpRunContext();
    ~TrpRunContext();
    TrpRunContext(const TrpRunContext&) = delete;
    TrpRunContext& operator=(const TrpRunContext&) = delete;

    // ---- The engine's tables, made with the context and kept for its life.

    TrpLocale Locale;   // first: the texts below are read through it
    // The font character set of new memos and of templates older than version 23.
    int DefaultCharset = 1;
    QStringList BandNames;        // the 23 band type names, in band type order
    QStringList BooleanFormats;   // "0;1", "No;Yes", "_;x", "False;True"
    QStringList DateFormats;      // the four predefined date layouts
    QStringList TimeFormats;      // the four predefined time layouts

    QStringList ScratchList;
    QImage PatternBitmap;   // 8 x 8 checkerboard of white and silver, behind bands at design time
    // 8 x 8 at 96 DPI: the device on which report text is measured and laid out.
    QImage ScratchBitmap;
    TrpTextMeasures TextMeasures;   // the character advances of the fonts measured so far
    TrpInstalledFunctions InstalledFunctions;
    // The installed libraries in registration order (RegisterFunctionLibrary): the standard
    // libraries from the start. After InstalledFunctions, so that they go before it.
    std::vector<std::unique_ptr<TrpFunctionLibrary>> FunctionLibraries;
    TrpParser ReportParser;
    TInterpretator ReportInterpreter{*this};
    TrpVariables ScriptVariables;   // sorted
    TrpVariables ReportConstants;   // sorted; colours, modal results, styles and the like
    TrpDecimalSeparator DecimalSeparator;   // of the numbers a build writes as text
    TrpCompressor ReportCompressor;
    // Windows and data modules registered to be found by name (ComponentLookup.h).
    std::vector<QPointer<QObject>> GlobalComponents;
    // Where the engine tells what it could not do and went on without (a picture it cannot
    // decode): the program routes it to its log; none drops it.
    std::function<void(const QString& message)> OnLog;
    void Log(const QString& message) const
    {
        if (OnLog)
            OnLog(message);
    }
    // The progress window long work runs under, made by the program's window library for this
    // context (it sets itself here while it lives); none without a display.
    TrpProgressWindow* ProgressWindow = nullptr;
    // Shows an export filter's options dialog and gives its modal result; set by the program's
    // window library (InstallExportDialogs). None: filters export with the options they hold.
    std::function<int(TrpExportFilter& filter)> ExportOptionsDialog;
    // Asks where the virtual printer writes its PDF file, suggesting a name (the report's
    // title); "" when the user cancels. Set by the program's window library
    // (InstallPdfFileDialog); without it the virtual printer cannot print.
    std::function<QString(const QString& suggestedName)> PdfFileDialog;
    // Shows a report's prepared pages in a preview window of their own (a report without an
    // embedded preview), with that caption; set by the window library. None: nothing is shown
    // and the pages stay with the report.
    std::function<void(TrpReport& report, const QString& caption)> ShowPreviewWindow;
    // Edits a rich-text object's text in the editor window, set by the window library
    // (InstallRichEditor): the edited text when closed with OK, else none. None: rich texts are
    // not edited.
    std::function<std::unique_ptr<QTextDocument>(const QTextDocument& text)> RichEditor;
    // The zoom last chosen in a preview (scale and mode, TrpScaleMode): the next preview starts
    // with it.
    double LastScale = 1.0;
    uint8_t LastScaleMode = 0;
    // The platform's printers, given by the program's print library before StartReportPrinter;
    // none: the report printer offers only its virtual printer.
    std::unique_ptr<TrpPlatformPrinter> PlatformPrinter;
    // Every report of the context prints, and takes its paper, through it; a paper set for one
    // report stays until the next change. The context starts it on the virtual printer.
    TrpPrinter ReportPrinter{Locale};
    // The paper id new design pages start with: the report printer's when it started, -1 when
    // no printer gave settings.
    int DefaultPaperSize = -1;
    // The report printer has started; template reading waits for it.
    bool PrinterReady = false;
    // The dialogs of the report functions INPUT and MESSAGEBOX, set by the window library
    // (FunctionDialogs.h). Without them (no display) INPUT gives its default text and MESSAGEBOX
    // gives 0, as if no button had been pressed.
    std::function<QString(const QString& prompt, const QString& defaultText)> InputBox;
    std::function<int(const QString& text, const QString& title, int flags)> MessageBox;

    // ---- The run-time variables: the driver sets them, the rest of the engine reads them.

    // A build, print or export runs (TrpWorkClaim): a second one is refused.
    bool WorkRunning = false;

    // The report being loaded, built, shown, printed or exported.
    TrpReport* CurrentReport = nullptr;
    // The report whose prepared pages receive the output and whose Terminated, FinalPass and
    // TwoPass rule the build.
    TrpReport* RootReport = nullptr;
    // The design page being built or loaded, the band being printed, the object being printed or
    // expanded.
    TrpPage* CurrentPage = nullptr;
    TrpBand* CurrentBand = nullptr;
    TrpView* CurrentView = nullptr;
    // Each is set for the length of the work through a scope (CurrentScope.h). The object an
    // exception left last, as its name and text: the error message names it once CurrentView
    // has its earlier value back; cleared when the next object's work starts.
    struct TFailedView {
        bool Noted = false;
        QString Name;
        QStringList Memo;
    } FailedView;

    bool PrintModeFlag = false;     // a report is prepared, shown or exported (not read)
    bool FirstPassFlag = false;     // first pass of a two-pass build
    bool PrepareScanFlag = false;   // page preparation scans texts for aggregates and fields
    bool DialogCancelled = false;   // a dialog page of the report was closed without OK
    int PageNo = 0;                 // 0-based number of the page being built
    int TotalPages = 0;             // pages of the first pass, or of the pages being exported
    TDateTime CurDate = 0;          // fixed at the start of a build (DATE, TIME)
    TDateTime CurTime = 0;
    // The value and text of the expression being expanded (VALUE).
    QVariant CurValue;
    QString CurExpression;
    // The name the value resolution has handed back to the parser: the parser handing the same
    // name back means that nobody knows it.
    QString EvalGuardName;

    // The engine's error state: an add-in class missing while reading, or an error while an
    // object was calculated; ErrorText is the message shown to the user.
    bool ErrorFlag = false;
    QString ErrorText;

    // The layout version of the template (or object stream) being read or written.
    int TemplateVersion = kCurrentTemplateVersion;
    // The object number the next object made gets (CreateReportObject); it only grows.
    int NextObjectNumber = 0;
    // Objects told of every memo printed (object flag 0x8000), gathered when pages set up.
    std::vector<TrpView*> CrossPassList;
    // A page that prints on the previous page continues there: the position and limit where
    // the previous page build stopped, and whether it printed that page's footer already.
    bool AppendMode = false;
    int SavedPosY = 0;
    int SavedLimitY = 0;
    bool FooterDone = false;

    // The report whose name resolution and functions the parser's callbacks reach (BindParser).
    const TrpReport* ParserReport = nullptr;

private:
    void LoadStrings();
};
