#pragma once
// Appending to the program's log files ("Error.log", "speed.log", "debug.log"). A file that has
// grown past the limit is moved to the same name followed by "0" (an older such file is
// replaced) and the line starts a new file. Safe from any thread and across running instances:
// each append locks the file and checks that it still is the file at that name.
#include <cstdint>
#include <string>
#include <string_view>

inline constexpr uint64_t kLogRotateAbove = 1024000;   // octets

// The rotated name of "<folder>/<base>.log": "<folder>/<base>0.log".
std::string RotatedLogPath(const std::string& path);

// Appends the octets to the file (created when missing), rotating it first when it holds more
// than `rotateAbove` octets. Returns false (with errno set) when the file cannot be written.
bool AppendToLogFile(const std::string& path, std::string_view octets, uint64_t rotateAbove = kLogRotateAbove);
