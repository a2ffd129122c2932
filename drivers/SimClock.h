// Time as the simulated unit sees it: nanoseconds since the clock was made. The
// real clock follows std::chrono::steady_clock; the virtual clock moves only when it
// is told to, so tests and scripts decide exactly how much time has passed.
#pragma once

#include <chrono>

class SimClock {
 public:
  virtual ~SimClock() = default;
  virtual std::chrono::nanoseconds Now() const = 0;
};

class RealSimClock final : public SimClock {
 public:
  std::chrono::nanoseconds Now() const override { return std::chrono::steady_clock::now() - start; }

 private:
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

class VirtualSimClock final : public SimClock {
 public:
  std::chrono::nanoseconds Now() const override { return now; }
  void Advance(std::chrono::nanoseconds step) { now += step; }

 private:
  std::chrono::nanoseconds now{0};
};
