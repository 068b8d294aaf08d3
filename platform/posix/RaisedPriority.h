#pragma once
// Raises the calling thread to the highest scheduling it is permitted while a frame goes out,
// so that the line direction is switched back in time; restores it when the scope ends.
// Where the system refuses (an unprivileged user), the thread simply keeps its priority.
class RaisedPriority {
public:
    RaisedPriority();
    ~RaisedPriority();
    RaisedPriority(const RaisedPriority&) = delete;
    RaisedPriority& operator=(const RaisedPriority&) = delete;

private:
    int savedNice_ = 0;
    bool niceRaised_ = false;
    int savedPolicy_ = 0;
    int savedRtPriority_ = 0;
    bool policyRaised_ = false;
};
