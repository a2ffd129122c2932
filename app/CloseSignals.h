// SIGTERM, SIGINT and SIGHUP as a request to close the window. The handler only writes
// the signal's number into a pipe (all a signal handler may safely do); a socket
// notifier reads it in the event loop, also in a nested one of a box or a reply wait,
// and emits Received there. One object at a time; it restores the signals' default
// handling when destroyed.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <array>
#include <csignal>
#include <memory>

class CloseSignals : public QObject {
  Q_OBJECT

 public:
  static constexpr std::array<int, 3> kSignals{SIGTERM, SIGINT, SIGHUP};

  explicit CloseSignals(QObject* parent = nullptr);
  ~CloseSignals() override;
  CloseSignals(const CloseSignals&) = delete;
  CloseSignals& operator=(const CloseSignals&) = delete;

 signals:
  // One of kSignals arrived.
  void Received(int signalNumber);

 private:
  void Drain();

  std::array<int, 2> pipe_{-1, -1};  // read end, write end
  std::unique_ptr<QSocketNotifier> notifier_;
};
