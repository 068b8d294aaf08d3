#pragma once
// A serial line over a Linux tty: exclusive open, line settings, modem lines, queues, and
// reads and writes bounded in time (the fd stays non-blocking; poll() does the waiting).
// Failures come back as errno values; the caller words them.
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <termios.h>

enum class TtyParity { None, Odd, Even, Mark, Space };
enum class TtyStopBits { One, OneAndHalf, Two };
// Low and High are set by us; Handshake leaves the line to the kernel's flow control.
enum class TtyModemLine { Low, High, Handshake };

struct TtySettings {
    uint32_t baudRate = 9600;
    int dataBits = 8; // 5 to 8
    TtyParity parity = TtyParity::None;
    bool checkParity = false; // drop input octets with a parity error
    TtyStopBits stopBits = TtyStopBits::One;
    bool ctsFlow = false; // output waits for CTS
    bool xonXoffOut = false; // output stops on XOFF from the peer
    bool xonXoffIn = false; // we send XOFF when our input queue fills
    uint8_t xonChar = 0x11;
    uint8_t xoffChar = 0x13;
    TtyModemLine dtr = TtyModemLine::High;
    TtyModemLine rts = TtyModemLine::Low;
};

class SerialTty {
public:
    using Clock = std::chrono::steady_clock;

    // Time limits of one read. The read ends with what it has when `total` has passed since its
    // start, or `interval` has passed since the last octet arrived; `guard`, when it passes first,
    // abandons the read as failed.
    struct ReadLimits {
        std::optional<Clock::duration> total;
        std::optional<Clock::duration> interval;
        std::optional<Clock::duration> guard;
    };
    struct ReadResult {
        size_t got = 0;
        int error = 0; // errno of a failed read
        bool guardExpired = false;
    };
    struct WriteResult {
        size_t done = 0;
        int error = 0;
        bool timedOut = false;
    };

    SerialTty() = default;
    ~SerialTty();
    SerialTty(const SerialTty&) = delete;
    SerialTty& operator=(const SerialTty&) = delete;

    // Opens the device for reading and writing, not as a controlling terminal, and claims it
    // exclusively so that no other program opens the same line while we hold it.
    int Open(const std::string& path);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }

    // Raw mode with the given framing, rate and flow control; the modem lines are set as asked.
    int Apply(const TtySettings& settings);

    // A line without modem-control lines (a pseudo-terminal, some adaptors) takes these as done.
    int SetRts(bool raised);
    int SetDtr(bool raised);
    bool RtsRaised() const { return rtsRaised_; }

    int FlushInput();
    int FlushOutput();
    int FlushBoth();

    // Writes every octet unless `deadline` passes while the line refuses more.
    WriteResult Write(const uint8_t* data, size_t count, Clock::time_point deadline);
    // Waits until the driver's output queue is empty: 0, ETIMEDOUT, or the errno of a failure.
    int WaitOutputEmpty(Clock::time_point deadline);
    // Waits until the last octet has left the transmitter (tcdrain).
    int Drain();

    ReadResult Read(uint8_t* buffer, size_t count, const ReadLimits& limits);
    // Reads what has arrived, at most `count` octets, waiting within the limits only while
    // nothing has: one system call when the line has octets waiting.
    ReadResult ReadSome(uint8_t* buffer, size_t count, const ReadLimits& limits);

private:
    // Reads until `least` octets have come (or a limit passes), taking up to `count`.
    ReadResult ReadAtLeast(uint8_t* buffer, size_t least, size_t count, const ReadLimits& limits);
    int SetModemLine(int line, bool raised);
    int WaitFor(short events, Clock::time_point deadline);

    int fd_ = -1;
    std::atomic<bool> rtsRaised_ {false};
};

// The raw-mode termios for these settings; a rate outside the classic table is left at 9600
// here and set by Apply through the free-rate interface.
void MakeRawTermios(const TtySettings& settings, termios& t);

// Rates outside the classic table (14400, 128000...) need the kernel's free-rate interface.
int SetTtyRate(int fd, uint32_t rate);
int GetTtyRate(int fd, uint32_t& rate);
