#pragma once
// The report engine's run-time context: one set of engine-wide variables that the driver sets
// and every unit of the engine reads. One build, print or export runs at a time, on the main
// thread, so plain variables serve. Units added later declare their own variables here.
#include <functional>

#include <QObject>
#include <QString>

class TrpReport;
class TDataSet;

// The layout version of the template (or object stream) being read or written: strings and
// string lists of versions up to 22 have the older zero-terminated forms.
constexpr int kCurrentTemplateVersion = 25;
constexpr int kFirstCountedStringVersion = 23;

// The report being loaded, built, shown, printed or exported.
inline TrpReport* CurrentReport = nullptr;
inline int TemplateVersion = kCurrentTemplateVersion;

// Questions the engine's base units ask about the report being built. The driver, the locale
// and the object registry fill them in; left empty, each answers "none".
struct TReportHooks {
    // The component that owns CurrentReport (its window): data-set names of field
    // references are looked up among its components.
    std::function<QObject*()> ReportOwner;
    // The data set that a field name without a data-set part refers to: the data set of the
    // band being built when CurrentReport's UseDefaultDataSetName is on, else none.
    std::function<TDataSet*()> DefaultFieldDataSet;
    // The engine's resource string of that number; a number the table lacks reads as "".
    std::function<QString(int)> ResourceString;
};
inline TReportHooks ReportHooks;

// Back to the state before any report ran (tests start from here).
void ResetReportContext();
