#pragma once
// The command-line words the program understands.
#include <QStringList>

struct TCommandLine {
    bool Debug = false;      // "debug": the debug log page can be shown
    bool AutoSave = false;   // "autosave": unsaved readings are saved on exit without asking
    bool NoCom = false;      // "no_com": work without a serial port
};

// Every argument is looked at (the program path too, which never matches); each word is
// recognised in any case, a repeated word changes nothing, other arguments are ignored.
TCommandLine ParseCommandLine(const QStringList& arguments);
