// Progress of a measurement on stderr: on a terminal a bar with samples, percentage
// and time left, fitted to the terminal's width at every redraw (so it never wraps);
// otherwise one line every 10 %. The time left (TimeLeftEstimate) is shown as h:mm:ss,
// rounded up.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "ui/TimeLeft.h"

class Progress {
 public:
  using Clock = TimeLeftEstimate::Clock;
  // The terminal's width in columns; 0 when unknown.
  using Columns = std::function<int()>;

  // Created when the acquisition starts. Without columns, the width of the terminal
  // behind out is asked for.
  Progress(int total, double samplesPerSecond, bool terminal, std::FILE* out = stderr,
           Clock clock = std::chrono::steady_clock::now, Columns columns = {});

  // Reports that `done` of the total samples have arrived.
  void Update(int done);
  // Ends the bar's line on a terminal.
  void Finish();

 private:
  // The bar's line for this many columns, without the carriage return.
  std::string BarLine(int done, int percent, const std::string& left, int columns) const;

  int total_;
  TimeLeftEstimate estimate_;
  bool terminal_;
  std::FILE* out_;
  Columns columns_;
  int lastTenth_ = 0;
  int lastPercent_ = -1;
  int lastColumns_ = -1;
  bool drawn_ = false;
};

// The width of the terminal on fd: its window size, else $COLUMNS; 0 when unknown.
int TerminalColumns(int fd);
