#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "cli/Console.h"
#include "cli/Interruption.h"

namespace {

Interruption* gCaught = nullptr;  // the object the handler reports to

extern "C" void OnInterruptSignal(int signal) {
  if (gCaught != nullptr) gCaught->Raise(signal);
}

// A standard descriptor the caller closed would be handed to the next file opened,
// and the report would land in a data file. Each closed one is taken by /dev/null,
// opened for reading only: reads find nothing and writes fail, so a lost report is
// still noticed.
void OccupyClosedStandardDescriptors() {
  for (const int fd : std::array{STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    const int opened = ::open("/dev/null", O_RDONLY);
    if (opened >= 0 && opened != fd) {
      ::dup2(opened, fd);
      ::close(opened);
    }
  }
}

// Qt's offscreen platform (used for --png and --pdf) complains on stderr when the session has no
// runtime directory, as over SSH or in CI; give it the one it would fall back to.
void EnsureRuntimeDirectory() {
  if (std::getenv("XDG_RUNTIME_DIR") != nullptr) return;
  constexpr mode_t kPrivate = 0700;
  const std::string dir = "/tmp/runtime-" + std::to_string(getuid());
  mkdir(dir.c_str(), kPrivate);
  setenv("XDG_RUNTIME_DIR", dir.c_str(), 0);
}

}  // namespace

void PrepareProcess() {
  OccupyClosedStandardDescriptors();
  EnsureRuntimeDirectory();
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return {argv + 1, argv + argc}; }

int ReportedColumns(int fd) {
  winsize size{};
  return ::ioctl(fd, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

std::array<int, 2> OpenWakePipe() {
  std::array<int, 2> ends{-1, -1};
  // Non-blocking, so that a handler never waits on a full pipe.
  if (::pipe2(ends.data(), O_NONBLOCK | O_CLOEXEC) != 0) throw std::runtime_error("no pipe for the interruption");
  return ends;
}

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

bool WaitForInput(int fd, const Interruption* interruption) {
  constexpr int kWaitForever = -1;
  for (;;) {
    std::array<pollfd, 2> waits{{{fd, POLLIN, 0}, {-1, POLLIN, 0}}};
    if (interruption != nullptr) waits[1].fd = interruption->WakeFd();
    if (::poll(waits.data(), waits.size(), kWaitForever) < 0 && errno != EINTR) return false;
    if (Interrupted(interruption)) return false;
    if (waits[0].revents != 0) return true;
  }
}
