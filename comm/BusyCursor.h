#pragma once
// The busy (hourglass) cursor while the program waits on the line. The communication layer has
// no windows: the serial port holds a hook that the main window installs to show or restore the
// cursor, and scopes ask for it. Scopes may nest (a long command whose exchange also asks): the
// hook hears true when the first scope begins and false when the last one ends.
#include <functional>
#include <mutex>

class TBusyCursorHook {
public:
    // Installs the handler (an empty one shows nothing). It runs on the thread that opens or
    // closes the outermost scope, possibly with PortLock() held, so off the GUI thread it must
    // only post to the GUI.
    void Install(std::function<void(bool busy)> handler);

private:
    friend class ScopedBusyCursor;
    void Enter();
    void Leave();

    std::mutex lock_;
    std::function<void(bool)> handler_;
    int depth_ = 0;
};

class ScopedBusyCursor {
public:
    explicit ScopedBusyCursor(TBusyCursorHook& hook, bool wanted = true);
    ~ScopedBusyCursor();
    ScopedBusyCursor(const ScopedBusyCursor&) = delete;
    ScopedBusyCursor& operator=(const ScopedBusyCursor&) = delete;

private:
    TBusyCursorHook* hook_ = nullptr;
};
