#pragma once
// The report engine's run-time context: one set of engine-wide variables that the driver sets
// and every unit of the engine reads. One build, print or export runs at a time, on the main
// thread, so plain variables serve. Units added later declare their own variables here.
#include <functional>

#include <QObject>
#include <QString>
#include <QVariant>

#include "base/DateTime.h"

class TrpReport;
class TrpPage;
class TrpBand;
class TrpView;
class TDataSet;

// The layout version of the template (or object stream) being read or written: strings and
// string lists of versions up to 22 have the older zero-terminated forms.
constexpr int kCurrentTemplateVersion = 25;
constexpr int kFirstCountedStringVersion = 23;

// The report being loaded, built, shown, printed or exported.
inline TrpReport* CurrentReport = nullptr;
inline int TemplateVersion = kCurrentTemplateVersion;

// The report whose prepared pages receive the output and whose Terminated, FinalPass and
// TwoPass rule the build.
inline TrpReport* RootReport = nullptr;
// The design page being built or loaded, the band being printed, the object being printed or
// expanded.
inline TrpPage* CurrentPage = nullptr;
inline TrpBand* CurrentBand = nullptr;
inline TrpView* CurrentView = nullptr;

inline bool PrintModeFlag = false;   // a report is prepared, shown or exported (not read)
inline bool FirstPassFlag = false;   // first pass of a two-pass build
inline bool PrepareScanFlag = false; // page preparation scans texts for aggregates and fields
inline bool DialogCancelled = false;
inline int PageNo = 0;               // 0-based number of the page being built
inline int TotalPages = 0;
inline TDateTime CurDate = 0;        // fixed at the start of a build (DATE, TIME)
inline TDateTime CurTime = 0;
// The value and text of the expression being expanded (VALUE).
inline QVariant CurValue;
inline QString CurExpression;
// The name the value resolution has handed back to the parser: the parser handing the same
// name back means that nobody knows it.
inline QString EvalGuardName;

// The engine's error state: an add-in class missing while reading, or an error while an object
// was calculated; ErrorText is the message shown to the user.
inline bool ErrorFlag = false;
inline QString ErrorText;

// Questions the engine's base units ask about the report being built. Left empty, the first
// two are answered by CurrentReport (ReportOwnerComponent, DefaultFieldDataSetOf in
// ComponentLookup.h); a test or a caller may answer them instead.
struct TReportHooks {
    // The component that owns CurrentReport (its window): data-set names of field
    // references are looked up among its components.
    std::function<QObject*()> ReportOwner;
    // The data set that a field name without a data-set part refers to: the data set of the
    // band being built when CurrentReport's UseDefaultDataSetName is on, else none.
    std::function<TDataSet*()> DefaultFieldDataSet;
    // Shows a script's PROGRESS text in the progress window's second line while a build runs.
    std::function<void(const QString&)> ShowProgressText;
};
inline TReportHooks ReportHooks;

// Back to the state before any report ran (tests start from here).
void ResetReportContext();
