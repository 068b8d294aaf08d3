#pragma once
// A window that remembers its size and position keeps them in the settings file, in a section
// named after its class ("TfmMain", "TfmExecProc", ...), with keys "Left", "Top", "Width",
// "Height" and "Maximized".
class IniFile;
class QWidget;

void RestoreFormPlacement(const IniFile& ini, QWidget& window, const char* section);
void SaveFormPlacement(IniFile& ini, const QWidget& window, const char* section);
