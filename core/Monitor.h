#pragma once
// The measurement context: what the parts of the program share, owned in one place. main()
// makes the one context and hands it down; a test makes its own.
#include "core/Device/HardConfig.h"
#include "core/Device/ReadingRules.h"
#include "core/Exchange/CommLine.h"
#include "core/Exchange/PassRunner.h"
#include "core/ExchangeLog.h"
#include "core/Parameters.h"

#include <memory>

class TMonitor {
public:
    TMonitor();
    ~TMonitor();
    TMonitor(const TMonitor&) = delete;
    TMonitor& operator=(const TMonitor&) = delete;

    // The settings record, read and edited on the GUI thread; a pass takes its own copy.
    Parameters Settings;
    // The hardware tree; none until the settings are loaded, replaced as a whole when the
    // configured counts change (never while a pass runs).
    std::unique_ptr<THardConfig> HardConfig;
    // The line: the serial port, and the replies of the no-port mode.
    TCommLine SharedCommPort;
    // The program's log stream; the port's commands post to it too.
    TExchangeLog Log;
    // Runs the poll passes, one at a time.
    TPassRunner Passes;

    // Rules for readings taken on the GUI thread: the record's settings, the log stream.
    TReadingRules ReadingRules() { return MakeReadingRules(Settings, Log.Sink()); }
};
