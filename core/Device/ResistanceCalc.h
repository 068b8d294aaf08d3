#pragma once
// The step from one reading's four raw words to the sensor's resistance. Sensors take it from
// the reading rules they are handed, so the calculation can be replaced (tests give a formula).
#include <QString>

#include <cstdint>
#include <functional>

struct Parameters;

// The four signed 16-bit words of one reading, widened.
struct TRawWords {
    int32_t U1 = 0;
    int32_t U2 = 0;
    int32_t U3 = 0;
    int32_t U4 = 0;
};

// Resistance in ohms from the four words; raises when the calculation fails.
using TResistanceCalc = std::function<double(const TRawWords&)>;

// Runs a calculation procedure with the reference resistor Ri on the words. The procedure is
// compiled at its first reading on a thread (and again after each change of its text) and run
// for this reading. What it raises passes to the caller.
double CalcResistance(const QString& calcProc, int32_t ri, const TRawWords& words);

// The settings' calculation procedure (its text and Ri, copied now) as a calculation.
TResistanceCalc CalcProcResistance(const Parameters& settings);
