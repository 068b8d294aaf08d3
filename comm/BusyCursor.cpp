#include "comm/BusyCursor.h"

#include <mutex>

namespace {

std::mutex& CursorMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::function<void(bool)>& Handler()
{
    static std::function<void(bool)> handler;
    return handler;
}

int& Depth()
{
    static int depth = 0;
    return depth;
}

} // namespace

void SetBusyCursorHandler(std::function<void(bool busy)> handler)
{
    std::lock_guard hold(CursorMutex());
    Handler() = std::move(handler);
}

ScopedBusyCursor::ScopedBusyCursor(bool wanted)
{
    if (!wanted)
        return;
    std::lock_guard hold(CursorMutex());
    counted_ = true;
    if (Depth()++ == 0 && Handler())
        Handler()(true);
}

ScopedBusyCursor::~ScopedBusyCursor()
{
    if (!counted_)
        return;
    std::lock_guard hold(CursorMutex());
    if (--Depth() == 0 && Handler())
        Handler()(false);
}
