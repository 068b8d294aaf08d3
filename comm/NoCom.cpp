#include "comm/NoCom.h"

#include <atomic>

namespace {
std::atomic<bool> noCom{false};
}

bool IsNoCom()
{
    return noCom.load(std::memory_order_relaxed);
}

void SetNoCom(bool on)
{
    noCom.store(on, std::memory_order_relaxed);
}
