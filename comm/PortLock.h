#pragma once
// The one process-wide lock of the serial line. An FT3 exchange holds it from the send of its
// request to the end of its reply's read, so the poll thread and the main thread's controller
// commands never interleave on the line; the port's own send, read, open and close take it too,
// so the port is never closed under another thread's exchange. Re-entrant for its holder.
//
//     std::lock_guard<std::recursive_mutex> hold(PortLock());
#include <mutex>

std::recursive_mutex& PortLock();
