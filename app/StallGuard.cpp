#include "app/StallGuard.h"

#include <algorithm>

#include "model/UnitTables.h"

std::chrono::steady_clock::duration StallGuard::PollPeriodFor(int spsSel) {
  const int rate = SamplesPerSecond(spsSel);
  if (rate == 0) return {};
  // One poll asks for the records per read of the rate: that many sample periods.
  const std::chrono::duration<double> period(static_cast<double>(SamplesPerRead(spsSel)) / rate);
  return std::chrono::duration_cast<std::chrono::steady_clock::duration>(period);
}

std::chrono::steady_clock::duration StallGuard::LimitFor(int spsSel) {
  return std::max<std::chrono::steady_clock::duration>(kStallFloor, PollPeriodFor(spsSel) * kStallPolls);
}

void StallGuard::Arm(int spsSel) {
  limit_ = LimitFor(spsSel);
  lastRecord_ = clock_();
}

void StallGuard::RecordsArrived() { lastRecord_ = clock_(); }

bool StallGuard::Stalled() const { return clock_() - lastRecord_ > limit_; }
