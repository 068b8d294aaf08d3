#pragma once
// A hardware tree and a board panel for the silo-board tests, in a context of the fixture's own
// or in a given one (a main window's), with the set-points and colours the tests expect.
#include "app/board/FrameSiloBin.h"
#include "app/board/BinPanel.h"
#include "core/Device/Device.h"
#include "core/Monitor.h"

#include <gtest/gtest.h>

#include <memory>

class TBoardFixture {
public:
    explicit TBoardFixture(int mbCount = 2, int silosPerMB = 6, int titPerSilos = 6)
        : TBoardFixture(nullptr, mbCount, silosPerMB, titPerSilos)
    {
    }
    explicit TBoardFixture(TMonitor* monitor, int mbCount = 2, int silosPerMB = 6, int titPerSilos = 6)
        : own_(monitor ? nullptr : std::make_unique<TMonitor>()),
          Monitor(monitor ? *monitor : *own_),
          Settings(Monitor.Settings),
          HardConfig(Monitor.HardConfig)
    {
        HardConfig = std::make_unique<THardConfig>(mbCount, silosPerMB, titPerSilos);
        Settings.ColorMaxT = 0x0000FF;     // red
        Settings.ColorCheckT1 = 0xFF8000;  // a blue of its own
        Settings.ColorX = 0x808080;        // grey
        Settings.ColorKz = 0x000080;       // maroon
        Settings.MaxT = 30;
        Settings.CheckT1 = 20;
        Settings.CheckT2 = 0;
        Settings.CheckT3 = 0;
        Settings.UseCheckSpeed = false;
    }

    TSilos* Silos(int mb, int index) const { return HardConfig->GetMB(mb)->GetSilos(index); }

    // A frame on the board panel, with its table made.
    TfrSiLoBin* AddFrame(uint8_t number, int rows, int cols)
    {
        auto* frame = new TfrSiLoBin(Monitor, number, nullptr, &panel);
        frame->SetGridSize(rows, cols);
        frame->show();
        return frame;
    }

    // Every sensor installed (R0 50 ohm) with a value for the current pass.
    void GiveValue(TTIT& tit, double value, bool valid = true) const
    {
        tit.SetOff(kR0Ohm50);
        tit.SetMult(kMultOhm50);
        tit.AddValue(valid, 45000.5, value, Settings);
    }

private:
    std::unique_ptr<TMonitor> own_;

public:
    TMonitor& Monitor;
    Parameters& Settings;
    std::unique_ptr<THardConfig>& HardConfig;
    TBinPanel panel;
};
