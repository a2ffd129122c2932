// The guard against a unit that stops sending records: the unit acknowledges no
// start, so it may refuse one ("NG") or stall mid-stream, and the acquisition would
// wait for ever. No record for 20 poll periods of the data rate, and at least 1 s,
// ends the measurement as a read failure.
#pragma once

#include <chrono>
#include <functional>
#include <utility>

class StallGuard {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  static constexpr int kStallPolls = 20;
  static constexpr std::chrono::seconds kStallFloor{1};

  explicit StallGuard(Clock clock) : clock_(std::move(clock)) {}

  // The time one poll's records (SamplesPerRead) take to arrive at data-rate index
  // spsSel: the poll period, 200 ms at 5 per second, 6.7 ms at 4800.
  static std::chrono::steady_clock::duration PollPeriodFor(int spsSel);
  // The time without a record after which a stream at data-rate index spsSel has stalled.
  static std::chrono::steady_clock::duration LimitFor(int spsSel);

  // At the accepted start of an acquisition: its limit, and the wait begins now.
  void Arm(int spsSel);
  // Records arrived: the wait begins again.
  void RecordsArrived();
  // Whether the wait since the start or the last records exceeds the limit.
  bool Stalled() const;

 private:
  Clock clock_;
  std::chrono::steady_clock::duration limit_{};
  std::chrono::steady_clock::time_point lastRecord_{};
};
