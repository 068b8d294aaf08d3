#pragma once
// The report engine's shared objects: the expression parser, the report's script interpreter,
// the lists of script variables and named constants, the function descriptions, scratch
// pictures and lists, and the format lists read from the string table. They are made once,
// on first use (the program touches them before its main window exists), and live for the
// whole run; tests may drop them to start afresh.
#include <memory>

#include <QImage>
#include <QStringList>

#include "report/runtime/Compressor.h"
#include "report/expr/FunctionLibrary.h"
#include "report/expr/Parser.h"
#include "report/expr/Variables.h"

class TInterpretator;

class TrpGlobals {
public:
    TrpGlobals();
    ~TrpGlobals();
    TrpGlobals(const TrpGlobals&) = delete;
    TrpGlobals& operator=(const TrpGlobals&) = delete;

    // The font character set of new memos and of templates older than version 23.
    int DefaultCharset = 1;
    QStringList BandNames;        // the 23 band type names, in band type order
    QStringList BooleanFormats;   // "0;1", "No;Yes", "_;x", "False;True"
    QStringList DateFormats;      // the four predefined date layouts
    QStringList TimeFormats;      // the four predefined time layouts

    QStringList ScratchList;
    QImage PatternBitmap;   // 8 x 8 checkerboard of white and silver, behind bands at design time
    QImage ScratchBitmap;   // 8 x 8, for drawing that is only measured
    TrpInstalledFunctions InstalledFunctions;
    TrpParser ReportParser;
    std::unique_ptr<TInterpretator> ReportInterpreter;
    TrpVariables ScriptVariables;   // sorted
    TrpVariables ReportConstants;   // sorted; colours, modal results, styles and the like
    TrpCompressor ReportCompressor;

private:
    friend TrpGlobals& ReportGlobals();
    friend void ResetReportGlobals();
    friend TrpGlobals* ExistingReportGlobals();

    void LoadStrings();
    void FillConstants();
    // The libraries the engine registers for itself, registered once the globals are reachable
    // (a library describes its functions to InstalledFunctions while it is made).
    void RegisterLibraries();
    void UnregisterLibraries();

    QStringList registeredLibraries_;
};

// The engine's globals, made on first use.
TrpGlobals& ReportGlobals();
// Frees the globals, the libraries they registered and the locale; the next use makes new ones.
void ResetReportGlobals();
// The globals when they exist, without making them.
TrpGlobals* ExistingReportGlobals();

inline TrpParser& ReportParser() { return ReportGlobals().ReportParser; }
inline TInterpretator& ReportInterpreter() { return *ReportGlobals().ReportInterpreter; }
inline TrpVariables& ScriptVariables() { return ReportGlobals().ScriptVariables; }
inline TrpVariables& ReportConstants() { return ReportGlobals().ReportConstants; }
inline TrpInstalledFunctions& InstalledFunctions() { return ReportGlobals().InstalledFunctions; }

// The libraries the engine registers when it starts: the standard library, then the database
// library (StandardObjects.cpp lists them).
std::vector<TrpFunctionLibraryClass> StandardFunctionLibraries();
