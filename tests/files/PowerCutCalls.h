// File calls that keep what a power cut would leave of a file, and a disk that fills.
#pragma once

#include <cerrno>
#include <filesystem>
#include <map>

#include "files/AtomicFile.h"

// The disk as a power cut leaves it: only what was synced is there.
class PowerCutCalls : public FileCalls {
 public:
  ssize_t Write(int fd, const char* data, std::size_t size) override {
    if (full_) {
      errno = ENOSPC;
      return -1;
    }
    written_[fd] += size;
    return FileCalls::Write(fd, data, size);
  }
  int Sync(int fd) override {
    synced_ = written_[fd];
    return FileCalls::Sync(fd);
  }
  // Cuts the power: the file loses what was written after the last sync.
  void CutPower(const std::filesystem::path& path) const { std::filesystem::resize_file(path, synced_); }
  void FillDisk() { full_ = true; }

 private:
  std::map<int, std::size_t> written_;
  std::size_t synced_ = 0;
  bool full_ = false;
};
