// Ctrl-C (SIGINT) and SIGTERM during a run of the command-line tool. The first signal
// is kept; the work in progress looks at it at its next step, a wait for the user's
// answer also watches WakeFd (readable once a signal came, whichever thread took it),
// and the file writers refuse the final rename of a file once it came.
#pragma once

#include <atomic>
#include <utility>

#include "drivers/UniqueFd.h"
#include "files/AtomicFile.h"

class Interruption {
 public:
  Interruption();
  Interruption(const Interruption&) = delete;
  Interruption& operator=(const Interruption&) = delete;

  // Records the signal (only the first counts) and wakes the waits. Safe in a signal
  // handler.
  void Raise(int signal);
  // The signal that came; 0 while none did.
  int Signal() const { return signal_.load(); }
  // The exit code for it: 128 + its number (130 for SIGINT, 143 for SIGTERM).
  int ExitCode() const;
  // Readable once a signal came.
  int WakeFd() const { return wakeRead_.Get(); }

 private:
  std::atomic<int> signal_{0};
  UniqueFd wakeRead_;
  UniqueFd wakeWrite_;
};

// Whether a signal came; never without an interruption to watch.
inline bool Interrupted(const Interruption* interruption) {
  return interruption != nullptr && interruption->Signal() != 0;
}

// The system calls of the file writers, with the rename that puts a finished file in
// place refused (EINTR) once a signal came: no file appears after the interruption,
// and the one being written is dropped whole.
class InterruptibleCalls : public FileCalls {
 public:
  InterruptibleCalls(FileCalls& calls, const Interruption* interruption) : calls_(calls), interruption_(interruption) {}

  ssize_t Write(int fd, const char* data, std::size_t size) override { return calls_.Write(fd, data, size); }
  int Sync(int fd) override { return calls_.Sync(fd); }
  int Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
  void GaveUp(int error) override { lastError_ = error; }
  // Why the last file given up was given up (an errno value, 0: no system call
  // failed), and forgets it.
  int TakeError() { return std::exchange(lastError_, 0); }

 private:
  FileCalls& calls_;
  int lastError_ = 0;
  const Interruption* interruption_;  // none: never interrupted
};
