#pragma once
// The step from one reading's four raw words to the sensor's resistance. Sensors take it through
// this seam, so the runner of the calculation procedure can be replaced (tests give a formula).
#include <cstdint>
#include <functional>

// The four signed 16-bit words of one reading, widened.
struct TRawWords {
    int32_t U1 = 0;
    int32_t U2 = 0;
    int32_t U3 = 0;
    int32_t U4 = 0;
};

// Resistance in ohms from the four words; raises when the calculation fails.
using TResistanceCalc = std::function<double(const TRawWords&)>;

// Runs the installed calculation; by default the settings' calculation procedure, compiled at
// its first reading (and after each change of its text) and run for this reading. What the
// calculation raises passes to the caller.
double CalcResistance(const TRawWords& words);

// Installs a calculation and returns the one it replaces; an empty one brings the default back.
// Safe from any thread, but meant for start-up and tests.
TResistanceCalc SetResistanceCalc(TResistanceCalc calc);
