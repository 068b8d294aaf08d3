#include "comm/PortLock.h"

std::recursive_mutex& PortLock()
{
    // Made on first use and never destroyed, so static objects of any unit may take it,
    // even while the program shuts down.
    static auto* lock = new std::recursive_mutex;
    return *lock;
}
