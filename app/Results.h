// The results of the current measurement as the main window shows them and the
// command-line tool reports them: the numbers behind each readout (unrounded) and
// the exact texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/SessionState.h"

struct MeasurementResults {
  std::string unitInfo;  // status panel 0 after the last set-up; empty when the unit was never set up
  int samples = 0;
  int rateSps = 0;
  std::string rateText;  // "4.8ksps"
  std::int32_t gain = 0;
  std::int32_t channel = 0;
  float deltaF = 0.0F;   // Hz
  std::string freqInfo;  // the frequency-step line of status panel 2

  float rmsVolts = 0.0F;  // RMS of the signal without DC, from the spectrum
  std::string rmsText;    // EditRMS
  std::string rmsUnit;    // LabelRMS

  int peakBin = 0;  // the largest line
  double peakHz = 0.0;
  float peakVolts = 0.0F;
  float peakDb = 0.0F;                   // its level as displayed
  std::array<std::string, 3> peakTexts;  // amplitude, level, frequency as the readout shows them
  std::string peakUnit;
  std::string peakDbUnit;  // "dBV" in absolute display, else "dB"

  std::int32_t codeMax = 0;
  std::int32_t codeMin = 0;
  float deviationDigits = 0.0F;
  std::string statsText;  // status panel 2 after a measurement (volts with fSig_Volt)

  std::string start;  // StartDateTime
};

// The results of the session's current measurement, with the settings it was measured
// or loaded with and the current display settings.
MeasurementResults ResultsOf(const SessionState& state);
