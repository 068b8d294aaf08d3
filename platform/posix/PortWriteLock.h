#pragma once
// The right to write to one serial port number, shared by every running instance of the
// program: an advisory lock on a file per port number in the runtime folder. A holder that dies
// loses it with its file descriptors, so a crashed instance never keeps a port locked.
// Each object has its own open file, so two objects contend even inside one process.
//
// The file stays open from the first Acquire to the object's end, so that taking and giving
// back the right for each frame costs a lock and an unlock, not an open and a close.
#include <chrono>
#include <string>

class PortWriteLock {
public:
    explicit PortWriteLock(int portNumber);
    ~PortWriteLock();
    PortWriteLock(const PortWriteLock&) = delete;
    PortWriteLock& operator=(const PortWriteLock&) = delete;

    // Waits at most `timeout` for the right. False when another holder kept it all that time,
    // or when the lock file cannot be opened (then Error() holds the errno).
    bool Acquire(std::chrono::milliseconds timeout);
    // Gives the right back; the file stays open for the next Acquire.
    void Release();
    bool Held() const { return held_; }
    int Error() const { return error_; }

    static std::string LockFilePath(int portNumber);

private:
    bool OpenFile();
    void CloseFile();
    bool FileIsStillTheLockFile() const;

    int portNumber_;
    int fd_ = -1;
    bool held_ = false;
    int error_ = 0;
};
