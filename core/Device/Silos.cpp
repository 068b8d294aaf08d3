#include "core/Device/Silos.h"

#include "core/Device/MB.h"

#include <algorithm>

TSilos::TSilos(TMB* owner, int no, int titCount) : owner_(owner), no_(no)
{
    tits_.reserve(static_cast<size_t>(std::max(titCount, 0)));
    for (int i = 0; i < titCount; ++i)
        tits_.push_back(std::make_unique<TTIT>(this, i));
}

int TSilos::GetMBAddr() const
{
    return owner_ ? owner_->Addr() : 0;
}

TTIT* TSilos::GetTIT(int index) const
{
    if (index < 0 || index >= TITCount())
        return nullptr;
    return tits_[static_cast<size_t>(index)].get();
}

QString TSilos::SilosName() const
{
    std::lock_guard guard(nameLock_);
    return silosName_;
}

void TSilos::SetSilosName(const QString& name)
{
    std::lock_guard guard(nameLock_);
    silosName_ = name;
}

QString TSilos::GetName() const
{
    const QString name = SilosName();
    if (!name.isEmpty())
        return name;
    return QStringLiteral("%1-%2").arg(GetMBAddr() + 1).arg(no_ + 1);
}
