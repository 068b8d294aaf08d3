#pragma once
// One build, print or export runs in a run context at a time: the engine-wide variables hold its
// state. Each claims the context for its duration; one started while another runs (from the
// progress window's event loop, say) finds the claim taken and is refused instead of running
// inside the first.
#include "report/runtime/RunContext.h"

class TrpWorkClaim {
public:
    explicit TrpWorkClaim(TrpRunContext& context) : context_(context), taken_(!context.WorkRunning)
    {
        context_.WorkRunning = true;
    }
    ~TrpWorkClaim()
    {
        if (taken_)
            context_.WorkRunning = false;
    }
    TrpWorkClaim(const TrpWorkClaim&) = delete;
    TrpWorkClaim& operator=(const TrpWorkClaim&) = delete;

    // False: another work holds the context; the caller does nothing.
    bool Taken() const { return taken_; }

private:
    TrpRunContext& context_;
    bool taken_;
};
