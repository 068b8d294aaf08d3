#pragma once
// Where the program keeps the files that would sit beside the program file on Windows
// (settings, logs, "nocom.log", "SiloBins.xml", serial-port links), and where it keeps its
// per-session runtime files (port locks, instance sockets), and where the user's own
// configuration lives.
#include <string>

// $TAVIK_ZUZID_HOME when set; else the executable's folder when it is writable;
// else $XDG_DATA_HOME/Tavik_zuzid (~/.local/share/Tavik_zuzid), created on first use.
// Always ends without a slash.
std::string ProgramFolder();

// A path inside the program's folder.
std::string ProgramFile(const std::string& name);

// $XDG_RUNTIME_DIR/Tavik_zuzid, else /tmp/Tavik_zuzid-<uid>; created (mode 0700) on first use.
std::string RuntimeFolder();

// The user's configuration folder: $XDG_CONFIG_HOME when it holds an absolute path, else
// $HOME/.config (the home from the password database when $HOME is unset). Not created here.
std::string UserConfigFolder();

// Creates a folder and its parents; returns false when it cannot be made.
bool MakeFolders(const std::string& path, unsigned mode = 0755);
