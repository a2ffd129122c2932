// What both fuzz targets share: the input as a file for the readers, a check that
// stops the run, and writers that answer Yes and skip the disk sync.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/AtomicFile.h"
#include "ui/SilentPrompter.h"

// Stops the run so the fuzzer keeps the input that broke a property.
#define FUZZ_CHECK(condition)                                                                  \
  do {                                                                                         \
    if (!(condition)) {                                                                        \
      std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                            \
    }                                                                                          \
  } while (false)

// Files of this process in the temporary directory, removed at exit.
class ScratchFiles {
 public:
  ScratchFiles() : dir_(std::filesystem::temp_directory_path() / ("zemtra-fuzz-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
  }
  ~ScratchFiles() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  ScratchFiles(const ScratchFiles&) = delete;
  ScratchFiles& operator=(const ScratchFiles&) = delete;

  // The input bytes as the file "input".
  std::filesystem::path Input(const std::uint8_t* data, std::size_t size) const {
    const auto path = dir_ / "input";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return path;
  }
  std::filesystem::path operator/(const char* name) const { return dir_ / name; }

 private:
  std::filesystem::path dir_;
};
