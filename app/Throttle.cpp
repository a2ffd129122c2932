#include "app/Throttle.h"

#include <utility>

Throttle::Throttle(std::chrono::milliseconds period, Clock clock) : period_(period), clock_(std::move(clock)) {}

bool Throttle::Due() {
  const auto now = clock_();
  if (last_ && now - *last_ < period_) return false;
  last_ = now;
  return true;
}
