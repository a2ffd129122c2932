// Display settings for the graph tests: axis kind, frequency and dB index ranges.
#pragma once

#include "model/Records.h"

inline FftSetting Settings(bool log, int freqS, int freqE, int dBMax = 2, int dBMin = 10) {
  FftSetting s;
  s.fLogGraph = log ? 1 : 0;
  s.index_FreqS = freqS;
  s.index_FreqE = freqE;
  s.index_dB_max = dBMax;
  s.index_dB_min = dBMin;
  return s;
}
