// The texts of the results panel: the RMS readout and the frequency-step line of
// status panel 2. Pure functions shared by the main window and the command-line tool.
#pragma once

#include <cstdint>
#include <string>

#include "model/Records.h"

// A number formatted "0.000" and its unit label.
struct ScaledText {
  std::string number;
  std::string unit;
};

// The RMS value v (volts) scaled to "Vrms" (v > 0.1), "mVrms" (> 0.001),
// "uVrms" (> 1e-6) or "nVrms"; the comparisons are strict and made on the
// 32-bit value against the thresholds as doubles.
ScaledText RmsReadout(float volts);

// "Δｆ= 4.688Hz / 絶対値[dBV] 表示 / 窓関数=ハニング窓(補正あり)": frequency step
// from the converter's rate and the sample count, display mode and window.
// Empty when the record holds no data.
std::string FreqInfoText(const MeasureData& data, int measSpsSel, const FftSetting& setting);

// The signal statistics of status panel 2: largest and smallest code and the
// deviation in digits, or (inVolts) the same in microvolts with the converter's gain.
// The deviation in volts is converted with its fraction, so a quiet input at high
// gain does not show as 0.
struct SignalStatistics {
  std::int32_t codeMax = 0;
  std::int32_t codeMin = 0;
  float deviationDigits = 0.0F;
  std::string text;
};
SignalStatistics StatisticsOf(const MeasureData& data, std::int32_t gain, bool inVolts, float deviationDigits);
