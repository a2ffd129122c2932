// Progress of a measurement on stderr: a bar with samples, percentage and time left
// on a terminal, otherwise one line every 10 %.
#pragma once

#include <chrono>
#include <cstdio>

class Progress {
 public:
  Progress(int total, double samplesPerSecond, bool terminal, std::FILE* out = stderr);

  // Reports that `done` of the total samples have arrived.
  void Update(int done);
  // Ends the bar's line on a terminal.
  void Finish();

 private:
  int total_;
  double samplesPerSecond_;
  bool terminal_;
  std::FILE* out_;
  int lastTenth_ = 0;
  int lastPercent_ = -1;
  bool drawn_ = false;
};
