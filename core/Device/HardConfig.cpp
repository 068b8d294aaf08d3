#include "core/Device/HardConfig.h"

#include <algorithm>

THardConfig::THardConfig(int mbCount, int silosPerMB, int titPerSilos)
{
    mbCount = std::clamp(mbCount, kMinMBCount, kMaxMBCount);
    silosPerMB = std::clamp(silosPerMB, kMinSilosPerMB, kMaxSilosPerMB);
    titPerSilos = std::clamp(titPerSilos, kMinTITPerSilos, kMaxTITPerSilos);
    mbs_.reserve(static_cast<size_t>(mbCount));
    for (int addr = 0; addr < mbCount; ++addr)
        mbs_.push_back(std::make_unique<TMB>(addr, silosPerMB, titPerSilos));
}

int THardConfig::SilosPerMB() const
{
    const TMB* mb = GetMB(0);
    return mb ? mb->SilosCount() : 0;
}

int THardConfig::TITPerSilos() const
{
    const TMB* mb = GetMB(0);
    const TSilos* silos = mb ? mb->GetSilos(0) : nullptr;
    return silos ? silos->TITCount() : 0;
}

TMB* THardConfig::GetMB(int index) const
{
    if (index < 0 || index >= MBCount())
        return nullptr;
    return mbs_[static_cast<size_t>(index)].get();
}

int THardConfig::IndexOfMB(int address) const
{
    for (int i = 0; i < MBCount(); ++i) {
        if (mbs_[static_cast<size_t>(i)]->Addr() == address)
            return i;
    }
    return -1;
}

TTIT* THardConfig::GetAirTIT() const
{
    const TMB* mb = GetMB(AirMB);
    const TSilos* silos = mb ? mb->GetSilos(AirSilos) : nullptr;
    return silos ? silos->GetTIT(AirTIT) : nullptr;
}
