#include "report/objects/ReportColor.h"

#include <iterator>

#include "platform/qt/QtColour.h"

namespace {

// The defaults of the system colours, by index (0x00BBGGRR).
constexpr TColor kSystemColours[] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000,
    0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D,
    0x000000, 0x544E43, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF,
};

}  // namespace

QColor ReportQColor(TColor colour)
{
    if ((colour & 0xFF000000u) == 0xFF000000u) {
        const TColor index = colour & 0xFFu;
        return ToQColor(index < std::size(kSystemColours) ? kSystemColours[index] : clBlack);
    }
    return ToQColor(colour);
}
