#include "cli/Interruption.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace {

constexpr int kSignalExitBase = 128;  // the shell's exit code for a death by signal n is 128 + n

Interruption* gCaught = nullptr;  // the object the handler reports to

extern "C" void OnInterruptSignal(int signal) {
  if (gCaught != nullptr) gCaught->Raise(signal);
}

}  // namespace

Interruption::Interruption() {
  int ends[2] = {-1, -1};
  // Non-blocking, so that a handler never waits on a full pipe.
  if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("no pipe for the interruption");
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

void CatchInterrupts(Interruption& interruption) {
  gCaught = &interruption;
  struct sigaction action {};
  action.sa_handler = OnInterruptSignal;
  sigemptyset(&action.sa_mask);
  // Waits watch the wake pipe, so other calls may simply resume after the handler.
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int InterruptibleCalls::Rename(const char* from, const char* to) {
  if (Interrupted(interruption_)) {
    errno = EINTR;
    return -1;
  }
  return calls_.Rename(from, to);
}
