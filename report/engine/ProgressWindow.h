#pragma once
// The window a report's long work (a build, printing, an export) runs under. The headless
// engine knows only this interface; the report windows library implements it with its
// progress form, and a program without a display runs its reports without one.
//
// ShowProgress shows the window modally and starts OnWork from inside its loop once the window
// is on screen. The work keeps the window alive by processing pending events after each page
// (ShowPage does so) and ends it with SetModalResult: mrOk when done, mrCancel when it stopped.
// Cancel sets the report's Terminated flag and mrCancel; the window closes as soon as the work
// returns, and ShowProgress gives back the result.
//
// A window belongs to a run context: while it lives it is the context's ProgressWindow, where
// a script's PROGRESS text goes.
#include <functional>
#include <optional>

#include <QString>

#include "report/runtime/ModalResult.h"

class TrpReport;
class TrpRunContext;

// The kinds of long work, each with its own first line.
enum class TProgressWork { FirstPass, Build, Print, Export };

class TrpProgressWindow {
public:
    explicit TrpProgressWindow(TrpRunContext& context);
    virtual ~TrpProgressWindow();
    TrpProgressWindow(const TrpProgressWindow&) = delete;
    TrpProgressWindow& operator=(const TrpProgressWindow&) = delete;

    TrpRunContext& Context() const { return context_; }

    // The work to run once the window is shown; set before each ShowProgress.
    std::function<void()> OnWork;
    // What the first line starts with ("Processing page:" and the like).
    QString FirstCaption;

    virtual int ShowProgress(TrpReport& report) = 0;
    virtual void SetModalResult(int result) = 0;
    virtual void SetCaption(const QString& text) = 0;
    virtual void SetFirstLine(const QString& text) = 0;
    // The second line: what a report's script writes to PROGRESS.
    virtual void SetSecondLine(const QString& text) = 0;
    // Lets the window repaint and see Cancel.
    virtual void ProcessEvents() = 0;

    // Prepares the window for a kind of work: the caption "Preparing report", followed by " - "
    // and the report's title when it has one; FirstCaption for the work; the first line
    // FirstCaption and, but for printing, two blanks and page 1.
    void BeginWork(TProgressWork work, const QString& title);
    // The first line for a page: FirstCaption, two blanks and the page number, and with a total
    // (the final pass of a two-pass build, an export) a blank, "from", a blank and the total;
    // then pending events are processed.
    void ShowPage(int page, std::optional<int> total = std::nullopt);

private:
    TrpRunContext& context_;
};
