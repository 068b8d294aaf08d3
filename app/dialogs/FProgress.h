#pragma once
// The progress dialog of a database export or import: a bar and "Прервать операцию". Showing it
// starts its worker; the worker's end closes it. The button (or Escape) closes it at once and
// tells the worker to stop at its next row; the worker may still be finishing that row when the
// dialog is gone, so the dialog and the worker meet only through the worker's queued signals.
#include <QDialog>
#include <QString>
#include <QtGlobal>

#include <functional>

class QProgressBar;
class QPushButton;
class TExchangeLog;
class TProgressThread;

class TfmProgress : public QDialog {
public:
    // The worker must outlive the dialog; maximum: the number of rows the work will do.
    TfmProgress(TProgressThread& worker, const QString& caption, qint64 maximum, QWidget* parent = nullptr);

    QProgressBar* pbProcess = nullptr;
    QPushButton* btCancel = nullptr;   // "Прервать операцию"

    TProgressThread& Worker() const { return worker_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void SetMaximum(qint64 maximum);
    void SetRowsDone(qint64 rows);

    TProgressThread& worker_;
    qint64 maximum_ = 0;
};

// How a work under the progress dialog ended.
struct TProgressOutcome {
    bool Completed = false;   // ran to its end, neither cancelled nor failed
    qint64 Rows = 0;          // the rows it did
    QString Error;            // what it failed with; empty when it did not fail
};

// Runs the work on a worker under the progress dialog, shown modally over parent; returns when
// the work has ended (after a cancellation, once the worker has stopped at its next row).
// True when the work ran to its end; an error of the work goes to the log as a red line. The
// outcome, when asked for, tells how it ended.
bool RunUnderProgress(QWidget* parent, const QString& caption, qint64 maximum,
                      const std::function<void(TProgressThread&)>& work, TExchangeLog& log,
                      TProgressOutcome* outcome = nullptr);
