#include "app/detail/DetailNode.h"

#include "core/Device/TIT.h"

QString TDetalNode::GetCellText(int column) const
{
    if (column == 0)
        return Sensor ? QStringLiteral("ТД %1").arg(Sensor->No() + 1) : QStringLiteral("ТД");
    if (column != 1 || !Sensor)
        return {};
    if (!Sensor->IsInstalled())
        return QStringLiteral("Нет");
    return Sensor->GetValueText();
}

std::optional<TColor> TDetalNode::GetCellColor(int column) const
{
    if (column == 1 && Sensor)
        return Sensor->GetColor();
    return std::nullopt;
}
