#pragma once
// Started without a serial port ("no_com") and without a settings file, the program writes a
// small demonstration configuration first, so that a first look shows a board of silo blocks
// rather than an empty window: two silo blocks, two local blocks of six suspensions of six
// sensors, site details, and a data file in the program's folder; the board's layout and
// the no-port replies come with it (DemoBoard.h).
class IniFile;

// Writes the configuration when the settings file does not exist; returns whether it did.
bool CreateDemoConfiguration(IniFile& ini);
