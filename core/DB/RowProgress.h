#pragma once
// What the readings' row loops see of the progress dialog of a database export or import. The
// loops run on the dialog's worker thread, so an implementation must be safe to call from there.
#include "base/Exception.h"

class IRowProgress {
public:
    // One more row done: the dialog's bar moves on by one.
    virtual void AdvanceRow() = 0;
    // The operator closed the dialog: the loop stops at its next row.
    virtual bool IsCancelled() const = 0;

protected:
    ~IRowProgress() = default;
};

// Helpers for loops that may run without a dialog (nullptr: nothing shown, never cancelled).
inline void AdvanceRow(IRowProgress* progress)
{
    if (progress)
        progress->AdvanceRow();
}

// Raises the silent EAbort when the operator has cancelled.
inline void StopIfCancelled(const IRowProgress* progress)
{
    if (progress && progress->IsCancelled())
        throw EAbort();
}
