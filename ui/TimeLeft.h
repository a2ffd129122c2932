// How long an acquisition still takes, for the progress of the window and of the
// command-line tool. The time left comes from the rate at which records have actually
// arrived once that rate has been watched for a while (a unit that trickles is not
// hidden behind its nominal rate); before that, from the nominal rate.
#pragma once

#include <chrono>
#include <functional>
#include <string>

class TimeLeftEstimate {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // Created when the acquisition of `total` samples starts.
  TimeLeftEstimate(int total, double samplesPerSecond, Clock clock = std::chrono::steady_clock::now);

  // Seconds until the last sample, once `done` of them have arrived (never negative).
  double SecondsLeft(int done) const;
  // Whole percent of the total that `done` samples are (0 for no total).
  int PercentDone(int done) const;
  int Total() const { return total_; }

 private:
  int total_;
  double samplesPerSecond_;
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
};

// A duration as h:mm:ss ("0:00:09", "1:02:03"), whole seconds rounded up.
std::string ClockText(double seconds);
// The same below an hour as m:ss ("0:09", "59:59"), from an hour on as h:mm:ss.
std::string ShortClockText(double seconds);
