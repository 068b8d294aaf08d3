#pragma once
// The notification log "overlay.log" in the program's folder: one line per notification a pass
// raised, "<date and time>: <text>". Past 1000 lines the file becomes "overlay.old.log"
// (replacing the older one) and a new file starts.
#include <QString>

// Appends the line. Returns false when the file cannot be written; a pass goes on regardless.
bool WriteOverlayLog(const QString& text);

// The same in the given folder.
bool WriteOverlayLog(const QString& folder, const QString& text);
