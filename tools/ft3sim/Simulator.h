#pragma once
// A simulated FT3 line on a pseudo-terminal: the commutator at address 0 and the local block at
// address 1, plus any device added (the data-collecting controller of DataCollector.h, say). It
// serves request frames on a thread of its own, records every exchange and puts faults into
// replies on request. The whole line can vanish, as an adaptor pulled out, and come back.
// Everything here may be called from any thread while it serves.
#include "tools/ft3sim/Commutator.h"
#include "tools/ft3sim/Faults.h"
#include "tools/ft3sim/LocalBlock.h"
#include "tools/ft3sim/PtyPair.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace ft3sim {

// One frame seen on the line and what went back.
struct Exchange {
    DynByteArray request;    // the octets as received, from the leader on
    bool valid = false;      // the frame checked out and carries a request
    DynByteArray userData;   // the request's user data (new layout) when valid
    DynByteArray reply;      // the octets written back; empty for silence
};

class Simulator {
public:
    Simulator();
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The controlled side of the line, for the program's port; a new one after each return.
    std::string SlavePath() const;
    // Keeps a link at `path` to the controlled side, made now and pointed anew after each return;
    // while the line is away it points where nothing is, as a link to a pulled-out adaptor does.
    void KeepLink(const std::string& path);

    void Start();
    void Stop();

    Commutator& commutator() { return *commutator_; }
    LocalBlock& localBlock() { return *localBlock_; }
    // Adds a controller; the devices added last are asked first.
    void AddDevice(std::shared_ptr<Device> device);

    void AddFault(const FaultRule& rule);
    void ClearFaults();
    // Every octet received is sent straight back, as on a two-wire RS-485 line.
    void SetEcho(bool echo);
    // A partial frame is dropped after this long without another octet.
    void SetFrameGap(std::chrono::milliseconds gap);
    // The line's rate in baud (10 bits an octet; 0, the default, for an instant line): a request
    // is answered only when its last octet would have arrived at that rate, and each reply octet
    // is handed on when the line would have carried it.
    void SetLineRate(int baud);

    // The line vanishes: the pseudo-terminal is closed, so the program's open line hangs up and
    // its device is gone. Return() brings a new one; `absence`, when not zero, brings it back
    // after that long by itself.
    void Vanish(std::chrono::milliseconds absence = std::chrono::milliseconds(0));
    void Return();
    // The line answers `answered` more request frames, then vanishes as the next one comes,
    // leaving that one unanswered (for as long as Vanish's `absence`).
    void VanishAfter(size_t answered, std::chrono::milliseconds absence = std::chrono::milliseconds(0));
    // The line is there (not vanished).
    bool Present() const;

    std::vector<Exchange> Exchanges() const;
    void ClearExchanges();
    // Waits until at least `count` exchanges have been recorded; false on time-out.
    bool WaitForExchanges(size_t count, std::chrono::milliseconds timeout) const;

private:
    void Serve();
    // On the serving thread: makes the line's presence what was asked (under mutex_).
    void FollowPresence();
    void AwaitPresence(std::unique_lock<std::mutex>& lock);
    void PointLink();
    // Counts a request frame towards VanishAfter; true when the line goes with this one.
    bool VanishesNow();
    // The line is going away: what is left of the octets read is not served.
    bool Leaving() const;
    void Feed(const uint8_t* octets, size_t count);
    void HandleFrame(const DynByteArray& frame);
    void DropPartialFrame();
    std::optional<DynByteArray> Answer(const Request& request, std::chrono::milliseconds& delay);
    std::optional<ReplyFaults> TakeFaults(const Request& request);
    void Record(Exchange exchange);
    void WriteReply(const DynByteArray& octets, const ReplyFaults& faults, int baud,
                    std::chrono::steady_clock::time_point heard);
    void WriteAll(const uint8_t* octets, size_t count);
    // Sleeps, or returns false at once when the simulator stops.
    bool Pause(std::chrono::steady_clock::duration duration);

    // The line, absent while vanished; made and closed on the serving thread once it serves.
    std::unique_ptr<PtyPair> pty_;
    int wakeFd_ = -1;
    std::shared_ptr<Commutator> commutator_;
    std::shared_ptr<LocalBlock> localBlock_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::shared_ptr<Device>> devices_;
    std::vector<FaultRule> faults_;
    std::vector<Exchange> exchanges_;
    bool echo_ = false;
    std::chrono::milliseconds frameGap_{200};
    int lineRate_ = 0;
    bool stopping_ = false;
    bool wantPresent_ = true;
    std::optional<std::chrono::steady_clock::time_point> returnAt_;
    std::optional<size_t> vanishAfter_;
    std::chrono::milliseconds vanishAbsence_{0};
    std::string slavePath_;
    std::string link_;

    // Owned by the serving thread.
    DynByteArray partial_;
    size_t expected_ = 0;
    std::chrono::steady_clock::time_point frameStart_;   // when the partial frame's first octet came
    std::thread thread_;
};

} // namespace ft3sim
