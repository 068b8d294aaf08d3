#pragma once
// The serial port's number, line settings, RS-485 direction control and echo, kept in a
// placement section of the settings file under the keys "Port.*".
class IniFile;
class TCommPort;

// Keys that are missing leave the port's own values.
void ReadPortPlacement(const IniFile& ini, const char* section, TCommPort& port);
void WritePortPlacement(IniFile& ini, const char* section, const TCommPort& port);
