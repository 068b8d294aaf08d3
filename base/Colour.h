#pragma once
// Colours as the program stores them everywhere (settings file, log lines, layouts):
// 0x00BBGGRR, red in the low octet and blue in the third.
#include <cstdint>

using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clBlue = 0xFF0000;
