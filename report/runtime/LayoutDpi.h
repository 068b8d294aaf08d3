#pragma once
// The engine lays out and measures report text on a device of 96 dots per inch, never on the
// screen, so that a report comes out alike on every machine.
inline constexpr int kLayoutDpi = 96;
