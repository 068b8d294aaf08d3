#pragma once
// Sets the process's umask for the life of the object and puts the old one back afterwards.
#include <sys/stat.h>

class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : saved_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(saved_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t saved_;
};
