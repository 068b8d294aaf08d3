#include "tools/ft3sim/Simulator.h"

#include "comm/FT3Exceptions.h"
#include "comm/FT3Reply.h"

#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <system_error>
#include <unistd.h>

namespace ft3sim {

namespace {

// The reply frame with its faults, as it goes on the line.
DynByteArray BuildReply(DynByteArray userData, const ReplyFaults& f)
{
    if (f.errorCode)
        userData[3] = *f.errorCode;
    if (f.stateFlags)
        userData[4] = *f.stateFlags;
    if (f.cannotDeliver)
        userData[0] = static_cast<uint8_t>((userData[0] & 0xF0) | 0x09);

    DynByteArray frame;
    if (f.oldFormat) {
        // Control, source, destination, function, error, state, data.
        frame = userData;
        frame[0] = static_cast<uint8_t>(userData[0] & 0x7F);
        frame[1] = userData[2];
        frame[2] = userData[1];
        frame[3] = userData[5];
        frame[4] = userData[3];
        frame[5] = userData[4];
        MakePackageFT3(frame, 0);
    } else {
        frame = std::move(userData);
        MakePackageFT31(frame, 0);
    }
    if (f.lengthOctet) {
        frame[2] = *f.lengthOctet;
        CRC_FT3(frame, 2, kFT3BlockSize);
    }
    if (f.brokenCrc)
        frame[19] ^= 0xFF;
    if (f.truncateTo && *f.truncateTo < frame.size())
        frame.resize(*f.truncateTo);
    frame.insert(frame.begin(), f.strayPrefix.begin(), f.strayPrefix.end());
    return frame;
}

// The time one octet takes on a line of this rate (10 bits an octet).
std::chrono::steady_clock::duration OctetTime(int baud)
{
    using namespace std::chrono;
    return duration_cast<steady_clock::duration>(duration<double>(10.0 / baud));
}

} // namespace

DynByteArray StrayOctets(size_t count)
{
    DynByteArray octets(count);
    for (size_t i = 0; i < count; ++i) {
        const auto octet = static_cast<uint8_t>(i * 37 + 11);
        octets[i] = octet == kFT3Leader0 ? 0x55 : octet;
    }
    return octets;
}

Simulator::Simulator()
    : commutator_(std::make_shared<Commutator>()),
      localBlock_(std::make_shared<LocalBlock>(*commutator_))
{
    pty_ = std::make_unique<PtyPair>();
    slavePath_ = pty_->SlavePath();
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    devices_ = {commutator_, localBlock_};
}

Simulator::~Simulator()
{
    Stop();
    close(wakeFd_);
}

void Simulator::Start()
{
    std::lock_guard lock(mutex_);
    if (!thread_.joinable())
        thread_ = std::thread(&Simulator::Serve, this);
}

void Simulator::Stop()
{
    {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable())
            return;
        stopping_ = true;
    }
    changed_.notify_all();
    const uint64_t one = 1;
    [[maybe_unused]] auto written = write(wakeFd_, &one, sizeof one);
    thread_.join();
    uint64_t drained;
    [[maybe_unused]] auto read_ = read(wakeFd_, &drained, sizeof drained);
    std::lock_guard lock(mutex_);
    stopping_ = false;
    thread_ = std::thread();
}

std::string Simulator::SlavePath() const
{
    std::lock_guard lock(mutex_);
    return slavePath_;
}

void Simulator::KeepLink(const std::string& path)
{
    std::lock_guard lock(mutex_);
    link_ = path;
    PointLink();
}

void Simulator::Vanish(std::chrono::milliseconds absence)
{
    std::unique_lock lock(mutex_);
    wantPresent_ = false;
    returnAt_.reset();
    if (absence.count() > 0)
        returnAt_ = std::chrono::steady_clock::now() + absence;
    AwaitPresence(lock);
}

void Simulator::Return()
{
    std::unique_lock lock(mutex_);
    wantPresent_ = true;
    returnAt_.reset();
    AwaitPresence(lock);
}

void Simulator::VanishAfter(size_t answered, std::chrono::milliseconds absence)
{
    std::lock_guard lock(mutex_);
    vanishAfter_ = answered;
    vanishAbsence_ = absence;
}

bool Simulator::Present() const
{
    std::lock_guard lock(mutex_);
    return pty_ != nullptr;
}

// The serving thread owns the line while it serves: it is woken to follow the change, and the
// caller returns once it has.
void Simulator::AwaitPresence(std::unique_lock<std::mutex>& lock)
{
    if (!thread_.joinable()) {
        FollowPresence();
        return;
    }
    const uint64_t one = 1;
    [[maybe_unused]] auto written = write(wakeFd_, &one, sizeof one);
    changed_.wait(lock, [this] { return (pty_ != nullptr) == wantPresent_ || stopping_; });
}

void Simulator::FollowPresence()
{
    const auto now = std::chrono::steady_clock::now();
    if (returnAt_ && now >= *returnAt_) {
        wantPresent_ = true;
        returnAt_.reset();
    }
    if (wantPresent_ == (pty_ != nullptr))
        return;
    if (wantPresent_) {
        try {
            pty_ = std::make_unique<PtyPair>();
            slavePath_ = pty_->SlavePath();
        } catch (const std::system_error&) {
            // No pseudo-terminal to be had just now: the line stays away a little longer.
            returnAt_ = now + std::chrono::milliseconds(100);
            wantPresent_ = false;
            return;
        }
    } else {
        pty_.reset();
        partial_.clear();
    }
    PointLink();
    changed_.notify_all();
}

void Simulator::PointLink()
{
    if (link_.empty())
        return;
    unlink(link_.c_str());
    // While the line is away the link names a device that is not there.
    const std::string target = pty_ ? slavePath_ : link_ + ".away";
    if (symlink(target.c_str(), link_.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), link_);
}

void Simulator::AddDevice(std::shared_ptr<Device> device)
{
    std::lock_guard lock(mutex_);
    devices_.push_back(std::move(device));
}

void Simulator::AddFault(const FaultRule& rule)
{
    std::lock_guard lock(mutex_);
    faults_.push_back(rule);
}

void Simulator::ClearFaults()
{
    std::lock_guard lock(mutex_);
    faults_.clear();
}

void Simulator::SetEcho(bool echo)
{
    std::lock_guard lock(mutex_);
    echo_ = echo;
}

void Simulator::SetFrameGap(std::chrono::milliseconds gap)
{
    std::lock_guard lock(mutex_);
    frameGap_ = gap;
}

void Simulator::SetLineRate(int baud)
{
    std::lock_guard lock(mutex_);
    lineRate_ = baud;
}

std::vector<Exchange> Simulator::Exchanges() const
{
    std::lock_guard lock(mutex_);
    return exchanges_;
}

void Simulator::ClearExchanges()
{
    std::lock_guard lock(mutex_);
    exchanges_.clear();
}

bool Simulator::WaitForExchanges(size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return exchanges_.size() >= count; });
}

void Simulator::Serve()
{
    using namespace std::chrono;
    // Paced octets leave on time: the default slack would let each wait run late by tens of
    // microseconds.
    prctl(PR_SET_TIMERSLACK, 1UL);
    uint8_t octets[512];
    for (;;) {
        int timeout = -1;
        int master = -1;
        {
            std::lock_guard lock(mutex_);
            if (stopping_)
                return;
            FollowPresence();
            master = pty_ ? pty_->MasterFd() : -1;
            if (!partial_.empty())
                timeout = static_cast<int>(frameGap_.count());
            if (returnAt_) {
                const auto left = duration_cast<milliseconds>(*returnAt_ - steady_clock::now()).count() + 1;
                timeout = static_cast<int>(std::max<long long>(0, left));
            }
        }
        // A negative descriptor is left out by poll(): an absent line waits for its return.
        pollfd fds[2] = {{master, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        const int ready = poll(fds, 2, timeout);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return;
        if (fds[1].revents) {
            uint64_t drained;
            [[maybe_unused]] auto read_ = read(wakeFd_, &drained, sizeof drained);
            continue;
        }
        if (ready == 0) {
            if (!partial_.empty())
                DropPartialFrame();
            continue;
        }
        if (fds[0].revents & POLLIN) {
            const ssize_t count = read(master, octets, sizeof octets);
            if (count > 0) {
                bool echo;
                {
                    std::lock_guard lock(mutex_);
                    echo = echo_;
                }
                if (echo)
                    WriteAll(octets, static_cast<size_t>(count));
                Feed(octets, static_cast<size_t>(count));
            }
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            // Nobody on the line: wait for the stop signal rather than spin.
            if (!Pause(std::chrono::milliseconds(10)))
                return;
        }
    }
}

void Simulator::Feed(const uint8_t* octets, size_t count)
{
    for (size_t i = 0; i < count && !Leaving(); ++i) {
        const uint8_t octet = octets[i];
        switch (partial_.size()) {
        case 0:
            if (octet == kFT3Leader0) {
                partial_.push_back(octet);
                frameStart_ = std::chrono::steady_clock::now();
            }
            break;
        case 1:
            if (octet == kFT3Leader1)
                partial_.push_back(octet);
            else if (octet != kFT3Leader0)
                partial_.clear();
            break;
        case 2:
            partial_.push_back(octet);
            expected_ = CalcLenPackageFT3(octet);
            break;
        default:
            partial_.push_back(octet);
            if (partial_.size() == expected_) {
                const DynByteArray frame = std::move(partial_);
                partial_.clear();
                HandleFrame(frame);
            }
        }
    }
}

void Simulator::DropPartialFrame()
{
    Exchange exchange;
    exchange.request = std::move(partial_);
    partial_.clear();
    Record(std::move(exchange));
}

void Simulator::HandleFrame(const DynByteArray& frame)
{
    Exchange exchange;
    exchange.request = frame;
    DynByteArray userData = frame;
    try {
        ExtractPackageFT31(userData);
        exchange.valid = userData.size() >= 6;
    } catch (const Exception&) {
        // A controller ignores a frame it cannot read.
    }
    if (!exchange.valid) {
        Record(std::move(exchange));
        return;
    }
    exchange.userData = userData;
    if (VanishesNow()) {
        // The request was heard as the line went: nothing comes back.
        Record(std::move(exchange));
        return;
    }
    const Request request{std::move(userData)};
    const std::optional<ReplyFaults> faults = TakeFaults(request);
    std::chrono::milliseconds deviceDelay{0};
    const std::optional<DynByteArray> answer = Answer(request, deviceDelay);
    if (!answer || answer->size() < 6 || (faults && faults->silent)) {
        Record(std::move(exchange));
        return;
    }
    ReplyFaults applied = faults.value_or(ReplyFaults{});
    applied.delay += deviceDelay;
    exchange.reply = BuildReply(*answer, applied);
    const DynByteArray octets = exchange.reply;
    int lineRate;
    {
        std::lock_guard lock(mutex_);
        lineRate = lineRate_;
    }
    // On a line of a given rate the request is heard when its last octet has come.
    const auto heard = lineRate > 0 ? frameStart_ + OctetTime(lineRate) * static_cast<long>(frame.size())
                                    : std::chrono::steady_clock::now();
    Record(std::move(exchange));
    WriteReply(octets, applied, applied.baud > 0 ? applied.baud : lineRate, heard);
}

std::optional<DynByteArray> Simulator::Answer(const Request& request, std::chrono::milliseconds& delay)
{
    std::vector<std::shared_ptr<Device>> devices;
    {
        std::lock_guard lock(mutex_);
        devices = devices_;
    }
    for (auto device = devices.rbegin(); device != devices.rend(); ++device)
        if ((*device)->Accepts(request.Destination())) {
            std::optional<DynByteArray> answer = (*device)->Answer(request);
            delay = (*device)->ReplyDelay(request);
            return answer;
        }
    return std::nullopt;
}

bool Simulator::VanishesNow()
{
    std::lock_guard lock(mutex_);
    if (!vanishAfter_)
        return false;
    if (*vanishAfter_ > 0) {
        --*vanishAfter_;
        return false;
    }
    vanishAfter_.reset();
    wantPresent_ = false;
    returnAt_.reset();
    if (vanishAbsence_.count() > 0)
        returnAt_ = std::chrono::steady_clock::now() + vanishAbsence_;
    return true;
}

bool Simulator::Leaving() const
{
    std::lock_guard lock(mutex_);
    return !wantPresent_;
}

std::optional<ReplyFaults> Simulator::TakeFaults(const Request& request)
{
    std::lock_guard lock(mutex_);
    for (auto rule = faults_.begin(); rule != faults_.end(); ++rule) {
        if (rule->address && *rule->address != request.Destination())
            continue;
        if (rule->channel && rule->channel != request.Channel())
            continue;
        ReplyFaults faults = rule->faults;
        if (rule->times > 0 && --rule->times == 0)
            faults_.erase(rule);
        return faults;
    }
    return std::nullopt;
}

void Simulator::Record(Exchange exchange)
{
    {
        std::lock_guard lock(mutex_);
        exchanges_.push_back(std::move(exchange));
    }
    changed_.notify_all();
}

void Simulator::WriteReply(const DynByteArray& octets, const ReplyFaults& faults, int baud,
                           std::chrono::steady_clock::time_point heard)
{
    using namespace std::chrono;
    if (heard > steady_clock::now() && !Pause(heard - steady_clock::now()))
        return;
    if (faults.delay.count() > 0 && !Pause(faults.delay))
        return;
    const size_t split = faults.pauseAfter.value_or(octets.size());
    if (baud <= 0) {
        WriteAll(octets.data(), std::min(split, octets.size()));
        if (split < octets.size() && Pause(faults.pause))
            WriteAll(octets.data() + split, octets.size() - split);
        return;
    }
    // Each octet is handed on when the line, at the given rate, has carried it.
    const auto octetTime = OctetTime(baud);
    const auto start = steady_clock::now();
    for (size_t i = 0; i < octets.size(); ++i) {
        auto due = start + octetTime * static_cast<long>(i + 1);
        if (i >= split)
            due += faults.pause;
        std::this_thread::sleep_until(due);
        WriteAll(&octets[i], 1);
    }
}

void Simulator::WriteAll(const uint8_t* octets, size_t count)
{
    const int master = pty_ ? pty_->MasterFd() : -1;
    while (count > 0 && master >= 0) {
        const ssize_t written = write(master, octets, count);
        if (written > 0) {
            octets += written;
            count -= static_cast<size_t>(written);
        } else if (written < 0 && errno == EAGAIN) {
            pollfd out{master, POLLOUT, 0};
            if (poll(&out, 1, 100) <= 0)
                return;   // nobody reads the line: the rest is lost, as on a real one
        } else if (written < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

bool Simulator::Pause(std::chrono::steady_clock::duration duration)
{
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return stopping_; });
}

} // namespace ft3sim
