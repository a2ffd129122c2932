// What a path names on disk, for the checks made before a file is read or replaced.
#pragma once

#include <filesystem>

// True when the path exists (a symbolic link followed) as something other than a
// regular file: a device, a FIFO, a socket or a directory. Such a target is never
// replaced by a regular file, and such an input never opened for reading (a FIFO
// would block the open).
bool IsSpecialFile(const std::filesystem::path& path);

// True when both paths name the same file: by device and file number where both exist
// (hard links and symbolic links included), otherwise by their absolute forms with
// every existing symbolic link and "." or ".." resolved.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);
