#include "cli/Interruption.h"

#include <unistd.h>

#include <cerrno>

#include "cli/Console.h"

namespace {
constexpr int kSignalExitBase = 128;  // the shell's exit code for a death by signal n is 128 + n
}  // namespace

Interruption::Interruption() {
  const auto ends = OpenWakePipe();
  wakeRead_.Reset(ends[0]);
  wakeWrite_.Reset(ends[1]);
}

void Interruption::Raise(int signal) {
  int none = 0;
  if (!signal_.compare_exchange_strong(none, signal)) return;
  const int savedErrno = errno;  // a handler must leave errno as it found it
  const char wake = 1;
  [[maybe_unused]] const ssize_t written = ::write(wakeWrite_.Get(), &wake, 1);
  errno = savedErrno;
}

int Interruption::ExitCode() const { return kSignalExitBase + Signal(); }

int InterruptibleCalls::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (Interrupted(interruption_)) {
    errno = EINTR;
    return -1;
  }
  return calls_.Rename(from, to);
}
