#include "report/data/Dataset.h"

TrpDataset::TrpDataset(QObject* owner) : QObject(owner) {}

void TrpDataset::First()
{
    recNo_ = 0;
    if (OnFirst)
        OnFirst(this);
}

void TrpDataset::Next()
{
    ++recNo_;
    if (RangeEnd == reCount && recNo_ >= RangeEndCount)
        return;
    if (OnNext)
        OnNext(this);
}

void TrpDataset::Prior()
{
    --recNo_;
    if (OnPrior)
        OnPrior(this);
}

bool TrpDataset::Eof()
{
    bool eof = RangeEnd == reCount && recNo_ >= RangeEndCount;
    if (OnCheckEOF)
        OnCheckEOF(this, eof);
    else if (RangeEnd != reCount && !HasOwnEnd())
        eof = true;
    return eof;
}
