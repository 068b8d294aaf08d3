#pragma once
// A pseudo-terminal pair: the simulator serves the controlling (master) side, the program opens
// the controlled (slave) side as its serial line.
#include <string>

namespace ft3sim {

class PtyPair {
public:
    // Opens the pair and sets the line raw, so octets pass unchanged both ways.
    // Raises std::system_error when the system refuses.
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    int MasterFd() const { return master_; }
    // The device path of the controlled side, e.g. /dev/pts/3.
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Held open for the pair's whole life: the master side then never sees the line hang up
    // while the program closes and reopens its port.
    int slaveKeeper_ = -1;
    std::string slavePath_;
};

} // namespace ft3sim
