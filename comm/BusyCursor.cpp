#include "comm/BusyCursor.h"

void TBusyCursorHook::Install(std::function<void(bool busy)> handler)
{
    std::lock_guard hold(lock_);
    handler_ = std::move(handler);
}

void TBusyCursorHook::Enter()
{
    std::lock_guard hold(lock_);
    if (depth_++ == 0 && handler_)
        handler_(true);
}

void TBusyCursorHook::Leave()
{
    std::lock_guard hold(lock_);
    if (--depth_ == 0 && handler_)
        handler_(false);
}

ScopedBusyCursor::ScopedBusyCursor(TBusyCursorHook& hook, bool wanted)
{
    if (!wanted)
        return;
    hook_ = &hook;
    hook_->Enter();
}

ScopedBusyCursor::~ScopedBusyCursor()
{
    if (hook_)
        hook_->Leave();
}
