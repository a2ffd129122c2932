#include "app/CloseSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace {

// The pipe's write end, for the handler.
volatile std::sig_atomic_t gWriteEnd = -1;

void OnSignal(int signalNumber) {
  const int savedErrno = errno;
  const auto byte = static_cast<unsigned char>(signalNumber);
  // A full pipe already holds a request to close: losing this one loses nothing.
  [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
  errno = savedErrno;
}

void SetHandler(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signalNumber : CloseSignals::kSignals) ::sigaction(signalNumber, &action, nullptr);
}

}  // namespace

CloseSignals::CloseSignals(QObject* parent) : QObject(parent) {
  if (::pipe2(pipe_.data(), O_CLOEXEC | O_NONBLOCK) != 0) throw std::runtime_error("no pipe for the signals");
  gWriteEnd = pipe_[1];
  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &CloseSignals::Drain);
  SetHandler(OnSignal);
}

CloseSignals::~CloseSignals() {
  SetHandler(SIG_DFL);
  gWriteEnd = -1;
  notifier_.reset();
  ::close(pipe_[0]);
  ::close(pipe_[1]);
}

void CloseSignals::Drain() {
  unsigned char byte = 0;
  while (::read(pipe_[0], &byte, 1) == 1) emit Received(byte);
}
