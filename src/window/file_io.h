#pragma once
// Reading and writing the window's small files (parameter and setup files) safely.

#include <cstddef>
#include <optional>
#include <string>

namespace lumetra::window {

// Saves the bytes as the file `name`. They go to a new file beside the target
// first, which is flushed to disk and only then renamed over it: a failed save
// leaves any existing file as it was, and the target never holds part of a file.
// The target keeps its permission bits and, where the system allows, its owner;
// a symbolic link stays a link and its final target gets the bytes. (Other hard
// links to the file keep the old contents.) A folder, a device, a pipe or a file
// the user may not write is refused. Returns why not, or "" when saved.
std::string write_replacing(const std::string& name, const std::string& bytes);

// The first limit + 1 bytes of a file (so that a caller sees a file above its
// limit), or nothing when it cannot be opened or read.
std::optional<std::string> read_small_file(const std::string& path, std::size_t limit);

}  // namespace lumetra::window
