#pragma once
// One row of the sensor detail tree: the sensor it shows (or none) and the texts and colours of
// its two cells. The row does not own the sensor; the rows are replaced before the hardware
// tree is.
#include "base/Colour.h"

#include <QString>

#include <optional>

class TTIT;
struct Parameters;

class TDetalNode {
public:
    explicit TDetalNode(TTIT* sensor = nullptr) : Sensor(sensor) {}

    // Column 0 names the sensor ("ТД 3", counted from 1; "ТД" without a sensor); column 1 shows
    // its value as the settings show it, or "Нет" for a sensor that is not installed.
    QString GetCellText(int column, const Parameters& settings) const;
    // The value cell of a row with a sensor takes the sensor's state colour; every other cell
    // keeps the window colour (nullopt).
    std::optional<TColor> GetCellColor(int column, const Parameters& settings) const;

    TTIT* Sensor = nullptr;
};
