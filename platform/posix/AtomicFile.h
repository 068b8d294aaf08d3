#pragma once
// Whole-file reading and atomic replacement. A replaced file is either the old one or the new
// one, never a mixture or a stump: the new text goes to a temporary file in the same folder,
// reaches the disk (fsync), and only then takes the file's name.
#include <string>
#include <string_view>

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file. Missing: no file at the path; Failed: it exists but cannot be read
// (a folder, no permission, an I/O error); `error` then says why.
ReadResult ReadWholeFile(const std::string& path, std::string& octets, std::string* error = nullptr);

// Replaces the file (through a symbolic link, the file it points to) with the octets, keeping
// its permissions; a new file gets those the user's umask gives (FileMode.h). Returns false and leaves the old file as it was when anything fails; `error`
// then says why.
bool WriteFileAtomically(const std::string& path, std::string_view octets, std::string* error = nullptr);
