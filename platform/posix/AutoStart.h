#pragma once
// Starting a program when the user logs on: an XDG autostart entry
// "<program>.desktop" in $XDG_CONFIG_HOME/autostart (normally ~/.config/autostart), which the
// desktop reads at logon. The entry's existence is the switch.
#include "base/Exception.h"

#include <string>

// The entry could not be written or removed; the message says which file and why.
class EAutoStartError : public Exception {
public:
    using Exception::Exception;
};

// UserConfigFolder()/autostart: $XDG_CONFIG_HOME/autostart when that variable holds an absolute
// path, else $HOME/.config/autostart (the home from the password database when $HOME is unset).
std::string AutoStartFolder();
std::string AutoStartEntryPath(const std::string& program);

// The entry's text: a desktop application entry that runs executable with no arguments.
std::string AutoStartEntryText(const std::string& program, const std::string& executable);

bool AutoStartEntryExists(const std::string& program);
// Writes the entry (replacing one that exists), creating the folder as needed. Throws
// EAutoStartError and leaves any earlier entry as it was when that fails.
void WriteAutoStartEntry(const std::string& program, const std::string& executable);
// Removes the entry; no entry is not an error. Throws EAutoStartError when it stays.
void RemoveAutoStartEntry(const std::string& program);
