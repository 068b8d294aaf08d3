#pragma once
// The signals by which the system asks the program to end (SIGTERM at a shutdown or logout,
// SIGINT, SIGHUP when its terminal goes) turned into a request on the thread that made this
// object, so that the program closes in order instead of dying with its settings unwritten.
// The handler does nothing but write the signal's number into a pipe; a socket notifier reads
// it on the object's thread and emits CloseRequested there.
//
// A signal handler is process-wide: one object at a time may exist, and it puts the handlers
// that were there before back when it goes.
#include <QObject>

#include <csignal>
#include <memory>

class QSocketNotifier;

class TCloseSignals : public QObject {
    Q_OBJECT
public:
    // Takes SIGTERM, SIGINT and SIGHUP. Raises std::logic_error while another object has them,
    // std::system_error when the system refuses the pipe.
    explicit TCloseSignals(QObject* parent = nullptr);
    ~TCloseSignals() override;
    TCloseSignals(const TCloseSignals&) = delete;
    TCloseSignals& operator=(const TCloseSignals&) = delete;

signals:
    // Once per signal received, in the order they came.
    void CloseRequested(int signalNumber);

private:
    void ReadPipe();

    int readEnd_ = -1;
    int writeEnd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[3] {};
};
