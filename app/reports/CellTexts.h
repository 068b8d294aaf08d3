#pragma once
// How the state reports show a temperature cell: the text of its value and, with colour
// printing, the fill colour of its memo. The tables' temperature fields get a text handler that
// does both while the report prints: the engine expands a memo's fields before it takes the
// memo's font and fill, so what the handler sets shows in that very cell.
#include "base/Colour.h"

#include <QString>
#include <QVariant>

#include <functional>

class TMemoryTable;
class TrpReport;
struct Parameters;

inline constexpr TColor kNoReadingColour = 0xC0C0C0;   // silver
inline constexpr TColor kPlainCellColour = 0xFFFFFF;   // white

// Empty for no value (null, or -999); the short-circuit text below -36, the open-line text
// above 70; else the temperature with the settings' precision.
QString TemperatureCellText(const QVariant& value, const Parameters& settings);

// The fill of a cell under colour printing: silver for -999, the short-circuit and open-line
// colours beyond the range, else white overridden in turn by set-points 1, 2 and 3 (each when
// set and exceeded), the maximum temperature and, with the rate check on, a rate alarm. An empty
// cell is white: it must not keep the colour of the row printed before it.
TColor TemperatureCellColour(const QVariant& value, bool rateAlarm, const Parameters& settings);

// Gives every temperature field of the table the handler: the memo "f" + the field's name of the
// report being built (none: only the text) gets a normal font style and, while colourPrinting
// says so, the cell's fill colour; the rate alarm is the row's field "Alarm" + the field's tag,
// where the table has one.
struct TCellTextSource {
    std::function<TrpReport*()> Report;
    std::function<bool()> ColourPrinting;
    const Parameters* Settings = nullptr;
};
void InstallCellTexts(TMemoryTable& table, const TCellTextSource& source);
