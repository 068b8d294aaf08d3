#pragma once
// The program's text logs in its folder: "Error" (failed sensor requests), "speed" (the
// rate-of-change trace) and "debug" (every log line). Each line starts with the date and time;
// a file past 1,024,000 octets is moved to the name followed by "0" and started anew.
#include "base/DateTime.h"

#include <QString>

// "<short date> hh:mm:ss.zzz : " (the program's short date form, dd.mm.yyyy), the start of every
// line in the logs and in the main window's message lists.
QString LogLinePrefix(TDateTime at);

// Appends one line (the prefix with the current time, the text, CR LF) to "<name>.log" in the
// program's folder. Safe from any thread. Returns false when the file cannot be written: a log
// that cannot be written must never stop a poll pass.
bool WriteLogFile(const QString& name, const QString& text);

// The same in the given folder (tests, tools).
bool WriteLogFile(const QString& folder, const QString& name, const QString& text);
