#include "ui/TimeLeft.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/NumberFormat.h"

namespace {
constexpr int kPercent = 100;
constexpr int kTwoDigits = 10;
// How long the arrivals are watched before their rate is trusted over the nominal one.
constexpr std::chrono::seconds kWatchBeforeEstimate{1};
constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;

std::string TwoDigits(long long value) {
  std::string text = FormatInteger(value);
  if (value < kTwoDigits) text.insert(text.begin(), '0');
  return text;
}

long long WholeSeconds(double seconds) { return static_cast<long long>(std::ceil(std::max(0.0, seconds))); }
}  // namespace

TimeLeftEstimate::TimeLeftEstimate(int total, double samplesPerSecond, Clock clock)
    : total_(total), samplesPerSecond_(samplesPerSecond), clock_(std::move(clock)), start_(clock_()) {}

double TimeLeftEstimate::SecondsLeft(int done) const {
  const std::chrono::duration<double> watched = clock_() - start_;
  const double rate = watched >= kWatchBeforeEstimate && done > 0 ? done / watched.count() : samplesPerSecond_;
  return rate > 0 ? std::max(0, total_ - done) / rate : 0.0;
}

int TimeLeftEstimate::PercentDone(int done) const {
  if (total_ <= 0) return 0;
  return static_cast<int>(static_cast<long long>(std::clamp(done, 0, total_)) * kPercent / total_);
}

std::string ClockText(double seconds) {
  const long long whole = WholeSeconds(seconds);
  return FormatInteger(whole / kSecondsPerHour) + ":" + TwoDigits(whole % kSecondsPerHour / kSecondsPerMinute) + ":" +
         TwoDigits(whole % kSecondsPerMinute);
}

std::string ShortClockText(double seconds) {
  const long long whole = WholeSeconds(seconds);
  if (whole >= kSecondsPerHour) return ClockText(seconds);
  return FormatInteger(whole / kSecondsPerMinute) + ":" + TwoDigits(whole % kSecondsPerMinute);
}
