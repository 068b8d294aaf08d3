#pragma once
// A local block: the suspensions wired to it. Its address on the line is its index in the tree.
#include "core/Device/Silos.h"

#include <memory>
#include <vector>

class TMB {
public:
    TMB(int addr, int silosCount, int titCount);
    TMB(const TMB&) = delete;
    TMB& operator=(const TMB&) = delete;

    int Addr() const { return addr_; }
    int SilosCount() const { return static_cast<int>(silos_.size()); }
    // The suspension by index, nullptr outside 0 .. count − 1.
    TSilos* GetSilos(int index) const;
    // Index of the first suspension with that number, or -1.
    int IndexOfSilos(int number) const;

private:
    const int addr_;
    std::vector<std::unique_ptr<TSilos>> silos_;
};
