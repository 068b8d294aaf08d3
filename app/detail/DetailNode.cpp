#include "app/detail/DetailNode.h"

#include "core/Device/TIT.h"

QString TDetalNode::GetCellText(int column, const Parameters& settings) const
{
    if (column == 0)
        return Sensor ? QStringLiteral("ТД %1").arg(Sensor->No() + 1) : QStringLiteral("ТД");
    if (column != 1 || !Sensor)
        return {};
    if (!Sensor->IsInstalled())
        return QStringLiteral("Нет");
    return Sensor->GetValueText(settings);
}

std::optional<TColor> TDetalNode::GetCellColor(int column, const Parameters& settings) const
{
    if (column == 1 && Sensor)
        return Sensor->GetColor(settings);
    return std::nullopt;
}
