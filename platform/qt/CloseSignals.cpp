#include "platform/qt/CloseSignals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace {

constexpr int kCloseSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Where the handler writes: the pipe of the one object that has the signals, -1 while none has.
// A lock-free atomic is safe to read in a signal handler.
std::atomic<int> handlerPipe{-1};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void OnCloseSignal(int number)
{
    const int savedErrno = errno;
    const int fd = handlerPipe.load();
    if (fd >= 0) {
        const auto octet = static_cast<unsigned char>(number);
        // A full pipe holds requests enough already: a lost octet loses nothing.
        [[maybe_unused]] const ssize_t written = write(fd, &octet, 1);
    }
    errno = savedErrno;
}

} // namespace

TCloseSignals::TCloseSignals(QObject* parent) : QObject(parent)
{
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    int expected = -1;
    if (!handlerPipe.compare_exchange_strong(expected, ends[1])) {
        close(ends[0]);
        close(ends[1]);
        throw std::logic_error("the close signals are taken already");
    }
    readEnd_ = ends[0];
    writeEnd_ = ends[1];
    notifier_ = new QSocketNotifier(readEnd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TCloseSignals::ReadPipe);

    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on: the request is served by the event loop, not by them.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kCloseSignals); ++i)
        sigaction(kCloseSignals[i], &action, &previous_[i]);
}

TCloseSignals::~TCloseSignals()
{
    for (size_t i = 0; i < std::size(kCloseSignals); ++i)
        sigaction(kCloseSignals[i], &previous_[i], nullptr);
    handlerPipe.store(-1);
    delete notifier_;
    close(readEnd_);
    close(writeEnd_);
}

void TCloseSignals::ReadPipe()
{
    unsigned char octets[64];
    ssize_t count;
    while ((count = read(readEnd_, octets, sizeof octets)) > 0)
        for (ssize_t i = 0; i < count; ++i)
            emit CloseRequested(octets[i]);
}
