#include "core/Device/ResistanceCalc.h"

#include "core/PSExpress.h"
#include "core/Parameters.h"

#include <mutex>

namespace {

// The procedure is compiled anew for every reading, so an edit of the text takes effect at the
// next reading and nothing compiled outlives it.
double RunCalcProc(const TRawWords& w)
{
    return TPSExpress::Evaluate(Settings.CalcProc.toStdString(), Settings.Ri, w.U1, w.U2, w.U3, w.U4);
}

std::mutex calcLock;
TResistanceCalc installedCalc;

} // namespace

double CalcResistance(const TRawWords& words)
{
    TResistanceCalc calc;
    {
        std::lock_guard lock(calcLock);
        calc = installedCalc;
    }
    return calc ? calc(words) : RunCalcProc(words);
}

TResistanceCalc SetResistanceCalc(TResistanceCalc calc)
{
    std::lock_guard lock(calcLock);
    std::swap(installedCalc, calc);
    return calc;
}
