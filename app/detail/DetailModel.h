#pragma once
// The rows of the sensor detail tree: one TDetalNode per row, two columns ("Название",
// "Значение"). Texts and colours are asked of the sensors whenever a row is painted, so a
// repaint shows the current pass or the chosen poll without rebuilding the rows.
#include "app/detail/DetailNode.h"

#include <QAbstractTableModel>

#include <vector>

class TSilos;
struct Parameters;

class TDetalModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumnCount = 2;

    // The cells show the sensors as the settings say (precision, texts, colours).
    explicit TDetalModel(const Parameters& settings, QObject* parent = nullptr)
        : QAbstractTableModel(parent), FSettings(settings) {}

    // Replaces every row.
    void SetRows(std::vector<TDetalNode> rows);
    // One row per sensor of the suspension, from its last sensor to sensor 0 (the top sensor
    // first); without a suspension, count rows without a sensor.
    void ShowSilos(const TSilos* silos, int countWithout);
    // How many rows a view without a suspension has (the sensors a suspension has).
    int SensorsPerSilos = 0;
    void Clear() { SetRows({}); }
    // The sensors' values changed: every cell is painted again.
    void Repaint();

    int RowCount() const { return static_cast<int>(FRows.size()); }
    const TDetalNode& Node(int row) const { return FRows[static_cast<size_t>(row)]; }
    QString CellText(int row, int column) const { return Node(row).GetCellText(column, FSettings); }
    // Some row shows a sensor.
    bool HasSensor() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const Parameters& FSettings;
    std::vector<TDetalNode> FRows;
};
