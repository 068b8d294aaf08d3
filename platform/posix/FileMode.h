#pragma once
// The permission bits of the files the program writes for the user (printed PDF files, exports,
// prepared reports, backups, settings): a file written anew gets what the user's umask leaves of
// rw-rw-rw-, as any program's new file does; a file written over keeps the bits it had. A file
// first written under a temporary name is given them before it takes its place.
#include <string>
#include <sys/types.h>

// What the user's umask leaves of rw-rw-rw- (0644 under the usual umask 022).
mode_t NewFileMode();

// The bits the file at the path has (through a symbolic link, its target's), else NewFileMode.
mode_t ModeForReplacing(const std::string& path);
