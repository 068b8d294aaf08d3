#pragma once
// The busy (hourglass) cursor while the program waits on the line. The communication layer has
// no windows: the program installs a handler that shows or restores the cursor, and scopes ask
// for it. Scopes may nest (a long command whose exchange also asks): the handler hears true
// when the first scope begins and false when the last one ends.
#include <functional>

// Installs the handler (an empty one shows nothing). It runs on the thread that opens or closes
// the outermost scope, possibly with PortLock() held, so it must only post to the GUI.
void SetBusyCursorHandler(std::function<void(bool busy)> handler);

class ScopedBusyCursor {
public:
    explicit ScopedBusyCursor(bool wanted = true);
    ~ScopedBusyCursor();
    ScopedBusyCursor(const ScopedBusyCursor&) = delete;
    ScopedBusyCursor& operator=(const ScopedBusyCursor&) = delete;

private:
    bool counted_ = false;
};
