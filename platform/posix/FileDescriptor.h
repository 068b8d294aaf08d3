#pragma once
// An open file descriptor owned by one object, and writing a whole block to a descriptor.
#include <string_view>

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Reset(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    // Closes the descriptor held and takes the new one.
    void Reset(int fd = -1);
    int Get() const { return fd_; }

private:
    int fd_;
};

// Writes all the octets, going on after partial writes and interruptions. False (with errno
// set) when a write fails.
bool WriteAll(int fd, std::string_view octets);
