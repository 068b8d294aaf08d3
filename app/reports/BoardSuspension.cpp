#include "app/reports/BoardSuspension.h"

#include "core/Device/Silos.h"

QString TechAddress(int binNo, const TSilos& silos)
{
    return QStringLiteral("%1-%2-%3").arg(binNo).arg(silos.GetMBAddr() + 1).arg(silos.No() + 1);
}
