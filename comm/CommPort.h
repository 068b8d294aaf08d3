#pragma once
// The serial port of the program: opens a port by number, applies the line settings and
// time-outs, sends a frame over RS-232 or over RS-485 with the direction switched by RTS,
// reads an exact number of octets within its time-outs, and recovers from repeated failures
// by closing and reopening the port. Every failure raises EPortException; a failure of the
// device itself raises EPortSystemError, naming the port and the system's reason, and shows in
// Status() while the port is meant to be open.
//
// Thread use: Send and ReadData may come from the poll thread and the main thread; an exchange
// holds PortLock() around its send and reply read (see comm/PortLock.h). Open and close take
// PortLock() too, so closing waits for a running exchange to finish.
#include "comm/BusyCursor.h"
#include "comm/ExchangeLog.h"
#include "comm/PortException.h"
#include "comm/PortParametrs.h"
#include "platform/posix/PortWriteLock.h"
#include "platform/posix/RaisedPriority.h"
#include "platform/posix/SerialTty.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// "Принято %d байт%s ожидалось %d байт%s" with the plural endings filled in.
std::string ReceivedCountMessage(int received, int expected);

class TCommPort {
public:
    TCommPort();
    ~TCommPort();
    TCommPort(const TCommPort&) = delete;
    TCommPort& operator=(const TCommPort&) = delete;

    // The port number N names the link COM<N> in the program's folder, else /dev/ttyS<N-1>.
    // Changing it closes an open port (it is not reopened).
    uint8_t Number() const { return number_; }
    void SetNumber(uint8_t number);

    // The open tty's descriptor, -1 when closed.
    int Handle() const;
    // The device the port was last opened on, every link followed (see CanonicalDevicePath);
    // empty before the first open. Instances hand the port over by it.
    std::string Device() const;

    // True opens the port (staying false when that fails, with the reason in Status());
    // false closes it. This is how the program hands the port to another instance.
    bool Enable() const { return enable_; }
    void SetEnable(bool enable);
    // A port the program holds open whose device failed to open again (it vanished, say) is
    // opened now, as the recovery of a failing send would; true when the port is open. A port
    // the program has closed stays closed. OpenError() then tells why it is not open: the errno
    // of the last failed open (here or by SetEnable), 0 when the port was closed on purpose or
    // has not been opened since its number changed.
    bool EnsureOpen();
    int OpenError() const;

    // Every frame sent comes back on the line and is read back and compared.
    bool Echo() const { return echo_; }
    void SetEcho(bool echo) { echo_ = echo; }
    // Send with RTS raised around each frame (RS-485).
    bool is485() const { return is485_; }
    void SetIs485(bool value) { is485_ = value; }
    // Discard unread input before each send.
    bool RsvClear() const { return rsvClear_; }
    void SetRsvClear(bool value) { rsvClear_ = value; }
    // Show the busy cursor while sending, through the port's busy-cursor hook, which long
    // commands on this port (clearing the archive) use as well.
    bool ChangeCursor() const { return changeCursor_; }
    void SetChangeCursor(bool value) { changeCursor_ = value; }
    TBusyCursorHook& BusyCursor() { return busyCursor_; }

    // Where the commands run on this port post their log lines; set before the port is shared.
    const ExchangeLogSink& LogSink() const { return logSink_; }
    void SetLogSink(ExchangeLogSink sink) { logSink_ = std::move(sink); }

    // Line settings and time-outs take effect at the next open.
    TPortParametrs Param() const;
    void SetParam(const TPortParametrs& param);
    TPortTimeOut TimeOut() const;
    void SetTimeOut(const TPortTimeOut& timeOut);

    // "отсутствует" before the first open, "готов" while open and working, "неактивен" after a
    // close, or the system's text of what went wrong: a failed open (the device is gone), or a
    // failure of the open line (an I/O error) until the line works again.
    std::string Status() const;

    // The duration of one character in seconds (11 bit times) at the rate the port was last
    // opened with (9600 before the first open).
    double CharTime() const { return charTime_; }

    // Consecutive failures of sends; a write that completes in time sets it back to 0.
    int FailureCount() const { return failures_; }

    // Sends count octets: clears old input when RsvClear, writes under the right to write
    // (with RTS direction control when is485), reads the echo back when Echo.
    void Send(const uint8_t* data, size_t count);
    // Reads exactly count octets within the time-outs; returns count.
    uint16_t ReadData(uint8_t* buffer, uint16_t count);
    // Reads what has come, at least one octet and at most `most`, waiting for the first as
    // long as ReadData waits for one octet and failing as it does when none comes.
    uint16_t ReadSome(uint8_t* buffer, uint16_t most);
    // Gives back octets that a ReadSome took beyond what its caller wanted: the next reads
    // return them first, in the same order. A send with RsvClear drops them as stale input.
    void Unread(const uint8_t* octets, size_t count);
    // Writes count octets under the right to write, waiting until they have left the queue.
    void WriteData(const uint8_t* data, size_t count);

private:
    bool Open();
    void Close();
    void Reinitialise();
    void SendRs485(const uint8_t* data, size_t count);
    void WriteFrame(const uint8_t* data, size_t count);
    void ReadEcho(const uint8_t* sent, size_t count);
    PortWriteLock& TakeWriteRight();
    SerialTty::ReadLimits ReadLimitsFor(uint16_t count) const;
    uint16_t TakeReadAhead(uint8_t* buffer, uint16_t most);
    void SetStatus(const std::string& status);
    void RaiseOnError(int error);
    [[noreturn]] void RaiseSystemError(int error);
    [[noreturn]] void RaiseNoLine();
    void MarkReady();

    SerialTty tty_;
    std::atomic<uint8_t> number_ {0};
    std::atomic<int> handle_ {-1};
    std::atomic<bool> enable_ {false};
    std::atomic<bool> echo_ {false};
    std::atomic<bool> is485_ {false};
    std::atomic<bool> rsvClear_ {false};
    std::atomic<bool> changeCursor_ {true};
    std::atomic<int> failures_ {0};
    std::atomic<double> charTime_ {11.0 / 9600};
    std::atomic<bool> faulty_ {false}; // the status shows a failure of the open line
    int openError_ = 0; // errno of the last failed open, under PortLock()
    bool writeTimeoutCounted_ = false; // under PortLock()
    TPortParametrs param_; // under PortLock()
    TPortTimeOut timeOut_; // under PortLock()
    // The right to write for this port number; its file stays open until the number changes.
    std::unique_ptr<PortWriteLock> writeRight_; // under PortLock()
    PriorityPermission priorityPermission_;
    std::vector<uint8_t> readAhead_; // under PortLock()
    TBusyCursorHook busyCursor_;
    ExchangeLogSink logSink_;
    mutable std::mutex statusMutex_;
    std::string status_;
    std::string device_; // under statusMutex_
};
