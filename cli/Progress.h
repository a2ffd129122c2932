// Progress of a measurement on stderr: a bar with samples, percentage and time left
// on a terminal, otherwise one line every 10 %. The time left comes from the rate at
// which records have actually arrived once that rate has been watched for a while
// (a unit that trickles is not hidden behind its nominal rate); before that, from the
// nominal rate.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>

class Progress {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // Created when the acquisition starts.
  Progress(int total, double samplesPerSecond, bool terminal, std::FILE* out = stderr,
           Clock clock = std::chrono::steady_clock::now);

  // Reports that `done` of the total samples have arrived.
  void Update(int done);
  // Ends the bar's line on a terminal.
  void Finish();

 private:
  double SecondsLeft(int done) const;

  int total_;
  double samplesPerSecond_;
  bool terminal_;
  std::FILE* out_;
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
  int lastTenth_ = 0;
  int lastPercent_ = -1;
  bool drawn_ = false;
};
