#include "app/dialogs/ProgressThread.h"

#include "base/Exception.h"

namespace {

// A signal per row would flood the main thread's queue on a large table: the bar moves in
// steps of a five-hundredth of the work instead.
constexpr qint64 kSignalsPerWork = 500;

qint64 StepFor(qint64 maximum)
{
    return std::max<qint64>(1, maximum / kSignalsPerWork);
}

} // namespace

TProgressThread::TProgressThread(TWork work, ExchangeLogSink log) : work_(std::move(work)), log_(std::move(log)) {}

TProgressThread::~TProgressThread()
{
    Cancel();
    wait();
}

void TProgressThread::SetMaximum(qint64 maximum)
{
    step_ = StepFor(maximum);
    emit MaximumChanged(maximum);
}

void TProgressThread::AdvanceRow()
{
    const qint64 done = ++rowsDone_;
    if (done >= nextSignal_) {
        nextSignal_ = done + step_.load(std::memory_order_relaxed);
        emit RowsDoneChanged(done);
    }
}

// A cancellation ends the work quietly; any other error is one red line.
void TProgressThread::run()
{
    try {
        if (work_)
            work_(*this);
        completed_ = !IsCancelled();
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        error_ = QString::fromUtf8(e.what());
        PostExchangeLog(log_, e.what(), kLogError);
    }
    emit RowsDoneChanged(rowsDone_.load());
}
