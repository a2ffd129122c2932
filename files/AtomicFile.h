// Replaces a file whole or not at all. The bytes go to a temporary file beside the
// target; only when every byte was written, flushed and synced is the temporary
// renamed over the target. On any failure the temporary is removed and the previous
// file stays as it was.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "files/ByteSink.h"

// The system calls the atomic writer makes. The defaults are the real calls; tests
// override one to make it fail.
class FileCalls {
 public:
  virtual ~FileCalls() = default;
  // As write(2): bytes written, or -1 with errno set.
  virtual ssize_t Write(int fd, const char* data, std::size_t size);
  // As fsync(2), for the temporary file and then its directory: 0 on success.
  virtual int Sync(int fd);
  // As rename(2), replacing the target: 0 on success.
  virtual int Rename(const std::filesystem::path& from, const std::filesystem::path& to);
  // Told why a file was given up: the errno value of the system call that failed, 0
  // when none did (a writer abandoned it). The default forgets it.
  virtual void GaveUp(int error);
};

// The real system calls (files/PlatformFiles*.cpp).
FileCalls& SystemFileCalls();

// The real calls without the syncs: for throughput measurements and fuzzing, where
// durability is not what is looked at.
class UnsyncedFileCalls : public FileCalls {
 public:
  int Sync(int /*fd*/) override { return 0; }
};

class AtomicFile : public ByteSink {
 public:
  explicit AtomicFile(std::filesystem::path target, FileCalls& calls = SystemFileCalls());
  ~AtomicFile() override;  // removes a temporary file that was not committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file in the target's directory; false when it cannot, when
  // the target exists and this process may not write it, or when the target exists
  // and is no regular file (a device or FIFO is never replaced by a file).
  bool Open();
  // Buffers bytes for the file; the first failure is kept and reported by Commit.
  void Append(std::string_view bytes) override;
  // True while every byte so far was accepted.
  bool Good() const override { return fd_ >= 0 && !failed_; }
  // The errno value of the first system call that failed; 0 while none did.
  int Error() const { return error_; }
  // Writes out the buffer, syncs and closes the temporary and renames it over the
  // target. False on any failure, with the temporary removed and the target untouched.
  bool Commit();

 private:
  void Flush();
  void Discard();

  std::filesystem::path target_;     // where the file ends up (a symbolic link is followed)
  std::filesystem::path temporary_;  // the file being written, beside the target
  FileCalls& calls_;
  int fd_ = -1;
  bool failed_ = false;
  int error_ = 0;
  std::string buffer_;  // bytes not yet handed to the system
};

// A file written whole or not at all: body appends its bytes and returns false to
// abandon it. True when the target holds the new content.
bool WriteWhole(const std::filesystem::path& target, FileCalls& calls, const std::function<bool(AtomicFile&)>& body);
