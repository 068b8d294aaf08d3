#include "comm/CommPort.h"

#include "base/Format.h"
#include "comm/BusyCursor.h"
#include "comm/PortLock.h"
#include "platform/posix/SerialDevicePath.h"
#include "platform/posix/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <thread>
#include <vector>

namespace {

using Clock = SerialTty::Clock;
using std::chrono::milliseconds;

const char* const StatusAbsent = "отсутствует";
const char* const StatusReady = "готов";
const char* const StatusInactive = "неактивен";

constexpr milliseconds WriteRightWait {1000};
constexpr milliseconds ReopenPause {10};
constexpr int WriteTimeoutsBeforeReopen = 3;
constexpr int FailuresBeforeReopen = 5;

// The Russian plural ending of "байт" after a number: "байта" for 2, 3, 4, 22..., not 12-14.
const char* OctetsEnding(int n)
{
    const int last = n % 10;
    return (last >= 2 && last <= 4 && (n / 10) % 10 != 1) ? "а" : "";
}

milliseconds Ms(uint64_t value)
{
    return milliseconds(static_cast<milliseconds::rep>(value));
}

} // namespace

std::string ReceivedCountMessage(int received, int expected)
{
    return Format("Принято %d байт%s ожидалось %d байт%s", received, OctetsEnding(received),
        expected, OctetsEnding(expected));
}

TCommPort::TCommPort() : status_(StatusAbsent) {}

TCommPort::~TCommPort()
{
    Close();
}

void TCommPort::SetNumber(uint8_t number)
{
    if (number == number_)
        return;
    std::lock_guard hold(PortLock());
    number_ = number;
    writeRight_.reset();
    if (enable_)
        SetEnable(false);
    openError_ = 0;   // the last failure was another port's
}

int TCommPort::Handle() const
{
    return handle_;
}

std::string TCommPort::Device() const
{
    std::lock_guard hold(statusMutex_);
    return device_;
}

void TCommPort::SetEnable(bool enable)
{
    std::lock_guard hold(PortLock());
    if (enable == enable_)
        return;
    if (enable) {
        enable_ = Open();
    } else {
        Close();
        enable_ = false;
        openError_ = 0;
    }
}

bool TCommPort::EnsureOpen()
{
    std::lock_guard hold(PortLock());
    if (!enable_)
        return false;
    return tty_.IsOpen() || Open();
}

int TCommPort::OpenError() const
{
    std::lock_guard hold(PortLock());
    return openError_;
}

TPortParametrs TCommPort::Param() const
{
    std::lock_guard hold(PortLock());
    return param_;
}

void TCommPort::SetParam(const TPortParametrs& param)
{
    std::lock_guard hold(PortLock());
    param_ = param;
}

TPortTimeOut TCommPort::TimeOut() const
{
    std::lock_guard hold(PortLock());
    return timeOut_;
}

void TCommPort::SetTimeOut(const TPortTimeOut& timeOut)
{
    std::lock_guard hold(PortLock());
    timeOut_ = timeOut;
}

std::string TCommPort::Status() const
{
    std::lock_guard hold(statusMutex_);
    return status_;
}

void TCommPort::SetStatus(const std::string& status)
{
    std::lock_guard hold(statusMutex_);
    status_ = status;
}

void TCommPort::RaiseOnError(int error)
{
    if (error != 0)
        RaiseSystemError(error);
}

// While the program holds the port open, the status tells what happened to the device.
void TCommPort::RaiseSystemError(int error)
{
    if (enable_) {
        SetStatus(SystemErrorText(error));
        faulty_ = true;
    }
    throw EPortSystemError(Format("COM%d: %s", static_cast<int>(number_), SystemErrorText(error).c_str()), error);
}

// The line worked again after a failure: the status says so.
void TCommPort::MarkReady()
{
    if (faulty_.exchange(false) && tty_.IsOpen())
        SetStatus(StatusReady);
}

// Why the port has no line: the program closed it (or handed it to another instance), or its
// last opening failed (the device vanished, say).
void TCommPort::RaiseNoLine()
{
    if (!enable_)
        throw EPortException(Format("COM%d: порт %s", static_cast<int>(number_), Status().c_str()));
    RaiseSystemError(openError_ != 0 ? openError_ : EBADF);
}

bool TCommPort::Open()
{
    std::lock_guard hold(PortLock());
    const std::optional<TtySettings> settings = ToTtySettings(param_);
    const std::string path = SerialDevicePath(number_);
    {
        std::lock_guard status(statusMutex_);
        device_ = CanonicalDevicePath(path);
    }
    int error = tty_.Open(path);
    if (error == 0)
        error = settings ? tty_.Apply(*settings) : EINVAL;
    openError_ = error;
    if (error != 0) {
        // A line we could not set up as asked is not reported as ready.
        tty_.Close();
        SetStatus(SystemErrorText(error));
        return false;
    }
    charTime_ = 11.0 / param_.BaudRate;
    readAhead_.clear();
    if (tty_.FlushBoth() != 0) {
        tty_.Close();
        SetStatus(StatusInactive);
        throw EPortException("Error PurgeComm");
    }
    handle_ = tty_.Fd();
    faulty_ = false;
    SetStatus(StatusReady);
    return true;
}

void TCommPort::Close()
{
    std::lock_guard hold(PortLock());
    if (!tty_.IsOpen())
        return;
    tty_.Close();
    handle_ = -1;
    readAhead_.clear();
    SetStatus(StatusInactive);
}

// Recovery from repeated failures: the port is closed and opened again; a failure to reopen
// shows in Status() and the next send tries again.
void TCommPort::Reinitialise()
{
    if (!enable_)
        return;
    Close();
    std::this_thread::sleep_for(ReopenPause);
    try {
        Open();
    } catch (const EPortException&) {
    }
    std::this_thread::sleep_for(ReopenPause);
}

void TCommPort::Send(const uint8_t* data, size_t count)
{
    std::lock_guard hold(PortLock());
    // A port the program has closed (or handed to another instance) is never reopened here.
    if (!enable_)
        RaiseNoLine();
    RaisedPriority priority(priorityPermission_);
    writeTimeoutCounted_ = false;
    try {
        // A line whose reopening failed fails for that reason, and the recovery below tries again.
        if (!tty_.IsOpen())
            RaiseNoLine();
        ScopedBusyCursor cursor(busyCursor_, changeCursor_);
        if (rsvClear_) {
            readAhead_.clear();
            RaiseOnError(tty_.FlushInput());
        }
        if (is485_)
            SendRs485(data, count);
        else
            WriteData(data, count);
        if (echo_)
            ReadEcho(data, count);
        MarkReady();
    } catch (...) {
        if (!writeTimeoutCounted_)
            ++failures_;
        if (failures_ > FailuresBeforeReopen)
            Reinitialise();
        throw;
    }
}

namespace {

// Gives the right to write back when the frame is done, however it ended.
class HeldWriteRight {
public:
    explicit HeldWriteRight(PortWriteLock& right) : right_(right) {}
    ~HeldWriteRight() { right_.Release(); }
    HeldWriteRight(const HeldWriteRight&) = delete;
    HeldWriteRight& operator=(const HeldWriteRight&) = delete;

private:
    PortWriteLock& right_;
};

} // namespace

// Other instances rely on taking turns frame by frame: the right is taken for each frame and
// given back after it, while its file stays open for the next.
PortWriteLock& TCommPort::TakeWriteRight()
{
    if (!writeRight_)
        writeRight_ = std::make_unique<PortWriteLock>(number_);
    PortWriteLock& right = *writeRight_;
    if (right.Acquire(WriteRightWait))
        return right;
    if (right.Error() != 0)
        RaiseSystemError(right.Error());
    throw EPortException("Тайм-аут ожидания освобождения порта");
}

void TCommPort::WriteData(const uint8_t* data, size_t count)
{
    std::lock_guard hold(PortLock());
    HeldWriteRight right(TakeWriteRight());
    WriteFrame(data, count);
}

// The right to write is held for the whole frame, from raising RTS to dropping it, so no other
// writer can put octets on the line in between; tcdrain() tells when the last octet has left the
// transmitter, so the direction is switched back neither early nor late.
void TCommPort::SendRs485(const uint8_t* data, size_t count)
{
    HeldWriteRight right(TakeWriteRight());
    RaiseOnError(tty_.SetRts(true));
    try {
        WriteFrame(data, count);
        RaiseOnError(tty_.Drain());
    } catch (...) {
        tty_.SetRts(false);
        throw;
    }
    RaiseOnError(tty_.SetRts(false));
}

void TCommPort::WriteFrame(const uint8_t* data, size_t count)
{
    const uint64_t limit =
        uint64_t {count} * timeOut_.WriteTimeoutMultiplier + timeOut_.WriteTimeoutConstant;
    const SerialTty::WriteResult written = tty_.Write(data, count, Clock::now() + Ms(limit));
    RaiseOnError(written.error);
    if (written.timedOut) {
        tty_.FlushOutput();
        ++failures_;
        writeTimeoutCounted_ = true;
        if (failures_ >= WriteTimeoutsBeforeReopen) {
            Reinitialise();
            throw EPortException("Три тайм-аута передачи подряд. Переинициализация порта.");
        }
        throw EPortException("Тайм-аут при передаче");
    }
    failures_ = 0;
    const int emptied = tty_.WaitOutputEmpty(Clock::now() + Ms(limit));
    if (emptied == ETIMEDOUT) {
        tty_.FlushOutput();
        throw EPortException(Format("%s Тайм-аут при ожидании конца передачи", "1."));
    }
    RaiseOnError(emptied);
}

void TCommPort::ReadEcho(const uint8_t* sent, size_t count)
{
    std::vector<uint8_t> echo(count);
    try {
        for (size_t done = 0; done < count;) {
            const auto part = static_cast<uint16_t>(std::min<size_t>(count - done, UINT16_MAX));
            done += ReadData(echo.data() + done, part);
        }
    } catch (const EPortException&) {
        throw EPortException("Ошибка при приёме эха");
    }
    // A different echo means another station talked over our frame.
    if (!std::equal(echo.begin(), echo.end(), sent))
        throw EPortException("Ошибка при приёме эха");
}

SerialTty::ReadLimits TCommPort::ReadLimitsFor(uint16_t count) const
{
    const TPortTimeOut& t = timeOut_;
    SerialTty::ReadLimits limits;
    if (t.ReadTimeoutMultiplier != 0 || t.ReadTimeoutConstant != 0)
        limits.total = Ms(uint64_t {count} * t.ReadTimeoutMultiplier + t.ReadTimeoutConstant);
    if (t.ReadIntervalTimeOut != 0)
        limits.interval = Ms(t.ReadIntervalTimeOut);
    // A guard well above the total time-out, which normally ends the read first.
    limits.guard = Ms(uint64_t {count} * t.ReadIntervalTimeOut * t.ReadTimeoutMultiplier
        + t.ReadTimeoutConstant);
    return limits;
}

uint16_t TCommPort::TakeReadAhead(uint8_t* buffer, uint16_t most)
{
    const auto taken = static_cast<uint16_t>(std::min<size_t>(most, readAhead_.size()));
    std::copy_n(readAhead_.begin(), taken, buffer);
    readAhead_.erase(readAhead_.begin(), readAhead_.begin() + taken);
    return taken;
}

uint16_t TCommPort::ReadData(uint8_t* buffer, uint16_t count)
{
    std::lock_guard hold(PortLock());
    const uint16_t early = TakeReadAhead(buffer, count);
    if (early == count)
        return count;
    const auto rest = static_cast<uint16_t>(count - early);
    if (!tty_.IsOpen())
        RaiseNoLine();
    const SerialTty::ReadResult result = tty_.Read(buffer + early, rest, ReadLimitsFor(rest));
    RaiseOnError(result.error);
    if (result.guardExpired)
        throw EPortException("Тайм-аут при приёме");
    if (result.got != rest)
        throw EPortException(ReceivedCountMessage(static_cast<int>(early + result.got), count));
    MarkReady();
    return count;
}

uint16_t TCommPort::ReadSome(uint8_t* buffer, uint16_t most)
{
    std::lock_guard hold(PortLock());
    if (most == 0)
        return 0;
    if (const uint16_t early = TakeReadAhead(buffer, most))
        return early;
    if (!tty_.IsOpen())
        RaiseNoLine();
    const SerialTty::ReadResult result = tty_.ReadSome(buffer, most, ReadLimitsFor(1));
    RaiseOnError(result.error);
    if (result.guardExpired)
        throw EPortException("Тайм-аут при приёме");
    if (result.got == 0)
        throw EPortException(ReceivedCountMessage(0, 1));
    MarkReady();
    return static_cast<uint16_t>(result.got);
}

void TCommPort::Unread(const uint8_t* octets, size_t count)
{
    std::lock_guard hold(PortLock());
    readAhead_.insert(readAhead_.begin(), octets, octets + count);
}
