#pragma once
// A hardware tree and a board panel for the silo-board tests; the settings record is restored
// afterwards, since the colour tests change its set-points.
#include "app/board/FrameSiloBin.h"
#include "app/board/BinPanel.h"
#include "core/Device/Device.h"
#include "core/Parameters.h"

#include <gtest/gtest.h>

#include <memory>

class TBoardFixture {
public:
    explicit TBoardFixture(int mbCount = 2, int silosPerMB = 6, int titPerSilos = 6)
        : savedSettings(Settings)
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
    ~TBoardFixture()
    {
        HardConfig.reset();
        Settings = savedSettings;
    }

    TSilos* Silos(int mb, int index) const { return HardConfig->GetMB(mb)->GetSilos(index); }

    // A frame on the board panel, with its table made.
    TfrSiLoBin* AddFrame(uint8_t number, int rows, int cols)
    {
        auto* frame = new TfrSiLoBin(number, nullptr, &panel);
        frame->SetGridSize(rows, cols);
        frame->show();
        return frame;
    }

    // Every sensor installed (R0 50 ohm) with a value for the current pass.
    static void GiveValue(TTIT& tit, double value, bool valid = true)
    {
        tit.SetOff(kR0Ohm50);
        tit.SetMult(kMultOhm50);
        tit.AddValue(valid, 45000.5, value);
    }

    TBinPanel panel;

private:
    Parameters savedSettings;
};
