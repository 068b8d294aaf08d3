#include "app/settings/HardConfigCounts.h"

#include "core/Device/HardConfig.h"

void ApplyHardwareDetails(THardConfig& config, const THardwareCounts& counts)
{
    config.Period = counts.Period;
    config.AirMB = counts.AirBlock;
    config.AirSilos = counts.AirSuspension;
    config.AirTIT = counts.AirSensor;
}

THardwareCounts HardwareCountsOf(const THardConfig* config)
{
    THardwareCounts counts;
    if (!config)
        return counts;
    counts.Blocks = config->MBCount();
    counts.Suspensions = config->SilosPerMB();
    counts.Sensors = config->TITPerSilos();
    counts.Period = config->Period;
    counts.AirBlock = config->AirMB;
    counts.AirSuspension = config->AirSilos;
    counts.AirSensor = config->AirTIT;
    return counts;
}
