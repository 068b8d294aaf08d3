#include "core/Device/ResistanceCalc.h"

#include "core/PSExpress.h"
#include "core/Parameters.h"

#include <memory>

namespace {

// A procedure compiled once and run for each reading; compiled again when its text changes, so
// that an edit takes effect at the next reading. Each thread that reads sensors (the pass, a
// test) keeps its own, as a compiled procedure runs on one thread at a time.
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

} // namespace

double CalcResistance(const QString& calcProc, int32_t ri, const TRawWords& words)
{
    thread_local TCompiledCalcProc compiled;
    return compiled.Run(calcProc, ri, words);
}

TResistanceCalc CalcProcResistance(const Parameters& settings)
{
    return [text = settings.CalcProc, ri = settings.Ri](const TRawWords& w) { return CalcResistance(text, ri, w); };
}
