#include "app/detail/DetailModel.h"

#include "app/widgets/TextContrast.h"
#include "platform/qt/QtColour.h"
#include "core/Device/Silos.h"

#include <algorithm>

void TDetalModel::SetRows(std::vector<TDetalNode> rows)
{
    beginResetModel();
    FRows = std::move(rows);
    endResetModel();
}

void TDetalModel::ShowSilos(const TSilos* silos, int countWithout)
{
    std::vector<TDetalNode> rows;
    if (silos) {
        for (int k = silos->TITCount() - 1; k >= 0; --k)
            rows.emplace_back(silos->GetTIT(k));
    } else {
        rows.resize(static_cast<size_t>(std::max(countWithout, 0)));
    }
    SetRows(std::move(rows));
}

void TDetalModel::Repaint()
{
    if (!FRows.empty())
        emit dataChanged(index(0, 0), index(RowCount() - 1, kColumnCount - 1));
}

bool TDetalModel::HasSensor() const
{
    return std::any_of(FRows.begin(), FRows.end(), [](const TDetalNode& node) { return node.Sensor != nullptr; });
}

int TDetalModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RowCount();
}

int TDetalModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant TDetalModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= RowCount())
        return {};
    const TDetalNode& node = Node(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return node.GetCellText(index.column(), FSettings);
    case Qt::BackgroundRole:
        if (const auto colour = node.GetCellColor(index.column(), FSettings))
            return ToQColor(*colour);
        return {};
    case Qt::ForegroundRole:
        // The value stays readable on its sensor's colour, black (no reply) included.
        if (const auto colour = node.GetCellColor(index.column(), FSettings))
            return ReadableTextColour(ToQColor(*colour));
        return {};
    default:
        return {};
    }
}

QVariant TDetalModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("Название");
    case 1:
        return QStringLiteral("Значение");
    default:
        return {};
    }
}
