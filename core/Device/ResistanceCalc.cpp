#include "core/Device/ResistanceCalc.h"

#include "core/PSExpress.h"
#include "core/Parameters.h"

#include <memory>
#include <mutex>

namespace {

// The settings' procedure, compiled once and run for each reading; compiled again when its text
// changes, so that an edit takes effect at the next reading. Each thread that reads sensors (the
// pass, a test) keeps its own, as a compiled procedure runs on one thread at a time.
class TCompiledCalcProc {
public:
    double Run(const QString& text, int32_t ri, const TRawWords& w)
    {
        if (!express_ || text != text_) {
            // A text that fails to compile leaves nothing compiled: the next reading tries
            // again and fails the same way.
            express_.reset();
            auto express = std::make_unique<TPSExpress>(0, 0, 0, 0, ri);
            express->SetScript(text.toStdString());
            express_ = std::move(express);
            text_ = text;
        }
        express_->SetRi(ri);
        express_->SetReading(w.U1, w.U2, w.U3, w.U4);
        return express_->Calculate();
    }

private:
    QString text_;
    std::unique_ptr<TPSExpress> express_;
};

double RunCalcProc(const TRawWords& w)
{
    thread_local TCompiledCalcProc compiled;
    return compiled.Run(Settings.CalcProc, Settings.Ri, w);
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
