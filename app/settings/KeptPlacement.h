#pragma once
// A dialog that keeps its size and position in the settings file: restored when this is made
// (after the dialog's controls exist), saved when it is destroyed. Without a settings file the
// placement is simply not kept.
class IniFile;
class QWidget;

class TKeptPlacement {
public:
    TKeptPlacement(IniFile* settings, QWidget& window, const char* section);
    ~TKeptPlacement();
    TKeptPlacement(const TKeptPlacement&) = delete;
    TKeptPlacement& operator=(const TKeptPlacement&) = delete;

private:
    IniFile* FSettings;
    QWidget& FWindow;
    const char* FSection;
};
