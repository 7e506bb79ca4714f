#pragma once
// Reading and writing the window's small files (parameter and setup files) safely.

#include <cstddef>
#include <optional>
#include <string>

namespace lumetra::io {

// The system's reason for a failed file operation in a few words ("the disk is
// full", "the name is too long", "permission denied"), from an errno value.
std::string file_error_reason(int error_number);

// Saves the bytes as the file `name`. They go to a new file beside the target
// first, which is flushed to disk and only then renamed over it: a failed save
// leaves any existing file as it was, and the target never holds part of a file.
// The target keeps its permission bits and, where the system allows, its owner;
// a symbolic link stays a link and its final target gets the bytes. (Other hard
// links to the file keep the old contents.) A folder, a device, a pipe or a file
// the user may not write is refused. Returns why not, with the system's reason,
// or "" when saved.
std::string write_replacing(const std::string& name, const std::string& bytes);

// What a bounded read of a file gives: its first limit + 1 bytes (so that a caller
// sees a file above its limit), or why it could not be read.
struct FileBytes {
    std::optional<std::string> bytes;
    std::string problem;  // "Cannot read NAME: REASON." when there are no bytes
};

// Reads a regular file and nothing else: a pipe, a socket, a device or a folder is
// refused without blocking (the file is opened without waiting for a writer and
// the opened file is checked before anything is read).
FileBytes read_small_file(const std::string& path, std::size_t limit);

}  // namespace lumetra::io
