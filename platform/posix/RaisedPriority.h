#pragma once
// Raises the calling thread to the highest scheduling it is permitted while a frame goes out,
// so that the line direction is switched back in time; restores it when the scope ends.
// Where the system refuses (an unprivileged user), the thread simply keeps its priority.
#include <atomic>

// What the system refused to a sending thread, learnt at the first refusal: a user without
// the right then pays no system calls per frame. The owner of a port keeps one for its sends.
struct PriorityPermission {
    std::atomic<bool> realTimeRefused {false};
    std::atomic<bool> niceRefused {false};
};

class RaisedPriority {
public:
    explicit RaisedPriority(PriorityPermission& permission);
    ~RaisedPriority();
    RaisedPriority(const RaisedPriority&) = delete;
    RaisedPriority& operator=(const RaisedPriority&) = delete;

private:
    bool RaisePolicy(PriorityPermission& permission);
    void RaiseNice(PriorityPermission& permission);

    int savedNice_ = 0;
    bool niceRaised_ = false;
    int savedPolicy_ = 0;
    int savedRtPriority_ = 0;
    bool policyRaised_ = false;
};
