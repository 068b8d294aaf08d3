#include "core/Monitor.h"

TMonitor::TMonitor() : Passes(SharedCommPort)
{
    SharedCommPort.Port.SetLogSink(Log.Sink());
}

// The runner goes first: a pass still running is stopped while the tree and the line it uses
// still exist.
TMonitor::~TMonitor() = default;
