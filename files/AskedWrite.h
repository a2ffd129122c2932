// Writing a file the user may be asked about: an existing target is replaced only
// after the overwrite question ("ファイル：" + path + "があります。" LF "上書きしますか")
// was answered Yes, and then whole or not at all (AtomicFile).
#pragma once

#include <filesystem>
#include <functional>

#include "files/AtomicFile.h"
#include "ui/Prompter.h"

// What a writer that asks before replacing an existing file did.
enum class WriteResult {
  Written,   // the file holds the new content
  Declined,  // the user kept the existing file: nothing was written
  Failed,    // nothing was written: unusable arguments, or the file could not be written
};

// Asks, when the target exists, whether it may be replaced; then writes body into it.
// body appends the file's bytes and returns false to abandon the file.
WriteResult WriteAsking(const std::filesystem::path& target, Prompter& prompter, FileCalls& calls,
                        const std::function<bool(AtomicFile&)>& body);
