#pragma once
// The archive pass, for a line with the data-collecting controller: instead of polling the
// sensors it reads the controller's measurement archive block by block and stores each record's
// six temperatures, as they come, as history points at the record's own time. After every block
// and once more at the end it judges the notification conditions; it never switches the relay.
#include "comm/RControl.h"
#include "core/Exchange/BaseSendTH.h"

class TSendTHArc : public TBaseSendTH {
public:
    using TBaseSendTH::TBaseSendTH;
    ~TSendTHArc() override;

    // The suspension a record belongs to: the first listed one of that block address with that
    // number in its block; none when no listed suspension matches both.
    TSilos* FindSilos(uint32_t blockAddress, uint32_t silosNo) const;

protected:
    void Execute() override;

private:
    void ApplyArchive();
    void StepProgress();

    DynArrayRec Records;
    QString StatusText;
};
