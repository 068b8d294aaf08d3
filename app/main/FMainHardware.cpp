// The main window and the hardware tree: made anew from the settings file's counts, read back
// for writing them, and the air-temperature sensor's panel.
#include "app/main/FMain.h"

#include "core/Device/HardConfig.h"
#include "core/Device/TIT.h"

void TfmMain::RebuildHardConfig(const THardwareCounts& counts)
{
    HardConfig.reset();
    HardConfig = std::make_unique<THardConfig>(counts.Blocks, counts.Suspensions, counts.Sensors);
}

void TfmMain::ApplyHardwareDetails(const THardwareCounts& counts)
{
    HardConfig->Period = counts.Period;
    HardConfig->AirMB = counts.AirBlock;
    HardConfig->AirSilos = counts.AirSuspension;
    HardConfig->AirTIT = counts.AirSensor;
}

// The tree's own counts: the number of local blocks, the suspensions of block 0 and the
// sensors of its suspension 0. Without a tree (a load that never got to it) the defaults.
THardwareCounts TfmMain::CurrentHardwareCounts() const
{
    THardwareCounts counts;
    if (!HardConfig)
        return counts;
    counts.Blocks = HardConfig->MBCount();
    counts.Suspensions = HardConfig->SilosPerMB();
    counts.Sensors = HardConfig->TITPerSilos();
    counts.Period = HardConfig->Period;
    counts.AirBlock = HardConfig->AirMB;
    counts.AirSuspension = HardConfig->AirSilos;
    counts.AirSensor = HardConfig->AirTIT;
    return counts;
}

QString TfmMain::AirTemperatureText() const
{
    const TTIT* air = HardConfig ? HardConfig->GetAirTIT() : nullptr;
    if (!air)
        return QStringLiteral("не контроллируется");
    return QString::asprintf("%.2f°C", air->GetValue());
}
