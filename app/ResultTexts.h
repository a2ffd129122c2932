// The texts of the results panel: the RMS readout and the frequency-step line of
// status panel 2. Pure functions shared by the main window and the command-line tool.
#pragma once

#include <string>

#include "app/Records.h"

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
