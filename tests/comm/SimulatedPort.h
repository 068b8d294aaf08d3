#pragma once
// The program's port on one side of a pseudo-terminal and the simulated line of controllers on
// the other, set up as the program sets up its own port.
#include "comm/CommPort.h"
#include "support/PtyLine.h"
#include "tools/ft3sim/Simulator.h"

#include <gtest/gtest.h>

// For a peer that answers: a reply read ends as soon as its octets are in, so long limits cost
// nothing, and they give the simulator time to be scheduled on a loaded machine.
inline TPortTimeOut AnsweringTimeOuts()
{
    return {1000, 20, 2000, 1, 50};
}

// For the cases that wait for silence: a read may take 2 ms per octet + 30 ms and pause at most
// 20 ms between octets, so a failing case stays short.
inline TPortTimeOut QuickTimeOuts()
{
    return {20, 2, 30, 1, 50};
}

// Makes COM<number> name the simulator's line and opens the port on it at 19200 baud, clearing
// stale input before each send, without the busy cursor. The simulator is started by the caller.
inline void OpenOnSimulatedLine(TCommPort& port, const PortHome& home, const ft3sim::Simulator& sim,
                                int number, const TPortTimeOut& timeOuts)
{
    home.Link(number, sim.SlavePath());
    TPortParametrs param;
    param.BaudRate = 19200;
    param.Flags = 16;
    port.SetParam(param);
    port.SetTimeOut(timeOuts);
    port.SetRsvClear(true);
    port.SetChangeCursor(false);
    port.SetNumber(static_cast<uint8_t>(number));
    port.SetEnable(true);
    ASSERT_TRUE(port.Enable()) << port.Status();
}
