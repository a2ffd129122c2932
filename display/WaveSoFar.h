// The samples an acquisition has received so far, as a record of their own, so that
// the waveform graph draws them exactly as it draws a finished record: the codes so
// far, their volts, range and mean (CodeToVolt, as the finish converts them), the data
// rate and filter of the measurement. The acquisition fills only the codes while it
// runs, so the volts are converted here into arrays of this class, sized once.
#pragma once

#include <cstdint>
#include <vector>

#include "model/Records.h"

class WaveSoFar {
 public:
  WaveSoFar();
  WaveSoFar(const WaveSoFar&) = delete;
  WaveSoFar& operator=(const WaveSoFar&) = delete;

  // The first `received` of `codes` (at most the arrays' capacity), taken with
  // `setting`. The record stays valid until the next call.
  const MeasureData& Take(const std::int32_t* codes, int received, const AdUnitSetting& setting);

 private:
  std::vector<std::int32_t> codes_;
  std::vector<float> volts_;
  MeasureData record_;
};
