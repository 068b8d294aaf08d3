#include "core/Device/MB.h"

#include <algorithm>

TMB::TMB(int addr, int silosCount, int titCount) : addr_(addr)
{
    silos_.reserve(static_cast<size_t>(std::max(silosCount, 0)));
    for (int i = 0; i < silosCount; ++i)
        silos_.push_back(std::make_unique<TSilos>(this, i, titCount));
}

TSilos* TMB::GetSilos(int index) const
{
    if (index < 0 || index >= SilosCount())
        return nullptr;
    return silos_[static_cast<size_t>(index)].get();
}

int TMB::IndexOfSilos(int number) const
{
    for (int i = 0; i < SilosCount(); ++i) {
        if (silos_[static_cast<size_t>(i)]->No() == number)
            return i;
    }
    return -1;
}
