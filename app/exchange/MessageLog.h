#pragma once
// The main window's message log: every line of the program's log stream and of the passes
// arrives here (WM_EXCHANGE_LOG). The line names the devices the operator knows (the line
// commutator at address 0, the local block at address 1) instead of their addresses, goes to the
// "debug" log file, and shows on the debug page when that is in use; red lines also go to the
// error list when the window says so (when it is switched on, and always for a failed line).
#include "base/Colour.h"

#include <QString>

class QListWidget;

// What the lines show: the text before "для контроллера с адресом" (the frame dump after it
// is for the log files of the communication layer), with "контроллера с адресом 0" and
// "контроллера с адресом 1" (in any case) named as the devices they are. Addresses of more
// than one digit stay as they are.
QString RewriteLogLine(const QString& text);

// The debug page keeps the newest lines on top: past this many, the oldest go until the
// smaller number remain.
inline constexpr int kMaxDebugLines = 1000;
inline constexpr int kDebugLinesKept = 500;

class TMessageLog {
public:
    // debugPage: the debug page's list; errorList: the list below the pages.
    TMessageLog(QListWidget& debugPage, QListWidget& errorList);

    // One posted line. debugShown: the debug page is in use ("debug" on the command line);
    // showErrors: a red line goes to the error list.
    void Add(const QString& text, TColor colour, bool debugShown, bool showErrors);

    // The widest line shown so far, in pixels.
    int Widest() const { return widest_; }

private:
    void Insert(QListWidget& list, const QString& line, TColor colour);

    QListWidget& debugPage_;
    QListWidget& errorList_;
    int widest_ = 0;
};
