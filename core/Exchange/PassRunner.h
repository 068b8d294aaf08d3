#pragma once
// The pass runner: makes the poll pass of the configured kind, holds it while it runs, and is
// the one way out of a pass. The pass emits its progress, title, log lines, notifications, alarm
// level and end as this object's signals on the pass's own thread; receivers on the GUI thread
// get them queued, in the order the pass made them. The taskbar, the message log, the
// notification log and the exchange page subscribe to them.
//
// Use from the GUI thread:
//     if (TBaseSendTH* pass = runner.Create(settings, suspensions)) pass->Start();
//     ... on Finished: runner.Release();   // waits for the pass and frees it
#include "base/Colour.h"

#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class TBaseSendTH;
class TCommLine;
class TSilos;
struct Parameters;

class TPassRunner : public QObject {
    Q_OBJECT
public:
    explicit TPassRunner(TCommLine& line, QObject* parent = nullptr);
    // A pass still running is asked to stop and waited for.
    ~TPassRunner() override;

    // Makes the pass for Parameters::ControllerKind (0 live polling, 1 archive reading) over the
    // suspensions, on a copy of the settings taken now, created suspended. nullptr, with nothing
    // made, for any other kind or while a pass exists.
    TBaseSendTH* Create(const Parameters& settings, const std::vector<TSilos*>& suspensions);
    // The pass made and not yet released; nullptr when none.
    TBaseSendTH* SendTH() const { return sendTH_.get(); }
    // Waits for the pass to end and frees it (nothing when there is none).
    void Release();

    // The line the passes use.
    TCommLine& Line() const { return line_; }

signals:
    // A pass has begun: no overlay, busy progress.
    void Started();
    // The exchange page's title and progress bar.
    void Title(const QString& text);
    void Progress(int position, int maximum);
    // A poll step done: the taskbar's measured progress.
    void StepDone(int position, int maximum);
    // The polling itself is over: the taskbar shows no progress.
    void PollingEnded();
    // A log line. lineFailed: the line failed (the port would not open, the commutator, a block
    // or the collector did not answer), which the window tells whatever it does with red lines.
    void LogLine(const QString& text, TColor colour, bool lineFailed);
    // A notification raised: its line for the notification log.
    void AlarmNote(const QString& text);
    // The worst notification level so far (0 OK, 1 warning, 2 error; a failed line is an
    // error), for the taskbar overlay.
    void AlarmLevel(int level);
    // The pass has ended, stopped or not (WM_EXCHANGE_DONE); Release may follow.
    void Finished();

private:
    TCommLine& line_;
    std::unique_ptr<TBaseSendTH> sendTH_;
};
