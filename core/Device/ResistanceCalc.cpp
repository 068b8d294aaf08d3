#include "core/Device/ResistanceCalc.h"

#include "base/Exception.h"

#include <mutex>

namespace {

double RunCalcProc(const TRawWords&)
{
    throw Exception("Скрипт не выполнен. (нет исполнителя процедуры расчёта)");
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
