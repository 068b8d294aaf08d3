#pragma once
// A simulated FT3 line on a pseudo-terminal: the commutator at address 0 and the local block at
// address 1, plus any device added (the data-collecting controller of DataCollector.h, say). It serves request frames on a thread of its own, records
// every exchange and puts faults into replies on request. Everything here may be called from
// any thread while it serves.
#include "tools/ft3sim/Commutator.h"
#include "tools/ft3sim/Faults.h"
#include "tools/ft3sim/LocalBlock.h"
#include "tools/ft3sim/PtyPair.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
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

    // The controlled side of the line, for the program's port.
    const std::string& SlavePath() const { return pty_.SlavePath(); }

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

    std::vector<Exchange> Exchanges() const;
    void ClearExchanges();
    // Waits until at least `count` exchanges have been recorded; false on time-out.
    bool WaitForExchanges(size_t count, std::chrono::milliseconds timeout) const;

private:
    void Serve();
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

    PtyPair pty_;
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

    // Owned by the serving thread.
    DynByteArray partial_;
    size_t expected_ = 0;
    std::chrono::steady_clock::time_point frameStart_;   // when the partial frame's first octet came
    std::thread thread_;
};

} // namespace ft3sim
