#pragma once
// The live poll pass: for each local block in turn it switches the block on through the line
// commutator, requests every installed sensor of the block's listed suspensions the configured
// number of times, stores each sensor's robust mean as one history point stamped with the pass's
// start, and switches the block off; then it judges the notification conditions, switches the
// alarm relay when they call for it and reports its end (WM_EXCHANGE_DONE) through its runner.
//
// A suspension whose display name is "0" and a sensor whose offset is 0 are never requested. A
// block that cannot be switched on leaves its suspensions' sensors marked as not replied.
#include "comm/FT3Frame.h"
#include "core/Exchange/BaseSendTH.h"

#include <cstdint>

class TSendTH : public TBaseSendTH {
public:
    using TBaseSendTH::TBaseSendTH;
    ~TSendTH() override;

protected:
    void Execute() override;
    // Only the sensors the pass requests are judged: installed ones of polled suspensions.
    bool JudgesSensor(const TSilos& silos, const TTIT& tit) const override;

private:
    TSilos* CurrentSilos() const;
    void InitProgress();
    void StepProgress(int steps = 1);
    bool SwitchMB(int address, bool on);
    // Every sensor of the suspension shows as not replied; its values and history stay.
    static void InvalidateSilos(const TSilos& silos);
    bool NeedSwitchOff(bool blockOn) const;
    void PollTIT();
    void RequestTIT(TTIT& tit);
    void DecodeReply(const DynByteArray& reply);

    QString StatusText;
    size_t SiloIndex = 0;
    int SensorIndex = 0;
    int titPerSilos_ = 0;
};

// The user data of a sensor's data request: the local block (address 1), function 20, one
// channel (suspension number × 6 + sensor index, low octet first).
DynByteArray SensorRequest(uint16_t channel);
