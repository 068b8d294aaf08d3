#pragma once
// The worker of a database export or import: runs one piece of work on its own thread while the
// progress dialog is shown. The row loops see it as their progress: they advance it by a row and
// ask it whether the operator has cancelled. It reaches the dialog only through its signals,
// which the dialog receives queued and which die with the dialog, so a worker that outlives a
// cancelled dialog never touches it.
#include "comm/ExchangeLog.h"
#include "core/DB/RowProgress.h"

#include <QThread>

#include <atomic>
#include <functional>

class TProgressThread : public QThread, public IRowProgress {
    Q_OBJECT
public:
    using TWork = std::function<void(TProgressThread&)>;

    // log: where an error of the work goes, as a red line.
    TProgressThread(TWork work, ExchangeLogSink log);
    // Asks the work to stop and waits for it.
    ~TProgressThread() override;

    void AdvanceRow() override;
    bool IsCancelled() const override { return cancelled_.load(std::memory_order_relaxed); }

    // The operator closed the dialog: the work stops at its next row.
    void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
    // The number of rows the work will do, when only the work can count them.
    void SetMaximum(qint64 maximum);
    // The work ran to its end without a cancellation or an error.
    bool Completed() const { return completed_.load(); }
    qint64 RowsDone() const { return rowsDone_.load(); }
    // The error the work ended with; empty when none. Read once the worker has ended.
    QString Error() const { return error_; }

signals:
    // The rows done so far; sent a few hundred times over the whole work, and once at its end.
    void RowsDoneChanged(qint64 rows);
    void MaximumChanged(qint64 maximum);

protected:
    void run() override;

private:
    const TWork work_;
    const ExchangeLogSink log_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> completed_{false};
    std::atomic<qint64> rowsDone_{0};
    std::atomic<qint64> step_{1};   // rows between two signals
    qint64 nextSignal_ = 1;         // worker thread only
    QString error_;                 // written by the worker before it ends
};
