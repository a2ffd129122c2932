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
  bool sinc3 = false;  // the converter's filter: Sinc3, else Sinc4
  bool buffer = false;
  bool chop = false;
  // The analysis and display settings.
  int window = 0;  // whichWindowFunc: 0 rectangle, 1 Hanning, 2 Hamming, 3 flat top
  bool correction = false;
  bool dcCut = false;
  bool absolute = true;  // levels in dBV, else in dB relative to the largest line
  bool logAxis = true;
  float deltaF = 0.0F;   // Hz
  std::string freqInfo;  // the frequency-step line of status panel 2

  float rmsVolts = 0.0F;  // RMS of the signal without DC, from the spectrum
  std::string rmsText;    // EditRMS
  std::string rmsUnit;    // LabelRMS

  int peakBin = 0;  // the largest line
  double peakHz = 0.0;
  float peakVolts = 0.0F;
  float peakDb = 0.0F;                   // its level as displayed (held within the display's dB range)
  double peakDbv = 0.0;                  // its true level in dBV; -infinity for an empty line
  std::array<std::string, 3> peakTexts;  // amplitude, level, frequency as the readout shows them
  std::string peakUnit;
  std::string peakDbUnit;  // "dBV" in absolute display, else "dB"

  std::int32_t codeMax = 0;
  std::int32_t codeMin = 0;
  std::int32_t codeMean = 0;  // truncated toward zero
  float deviationDigits = 0.0F;
  // The same statistics in volts, from the codes with the gain and the 2.5 V reference.
  double maxVolts = 0.0;
  double minVolts = 0.0;
  double meanVolts = 0.0;
  double ppVolts = 0.0;
  double deviationVolts = 0.0;
  std::string statsText;  // status panel 2 after a measurement (volts with fSig_Volt)

  std::string start;  // StartDateTime
};

// The results of the session's current measurement, with the settings it was measured
// or loaded with and the current display settings.
MeasurementResults ResultsOf(const SessionState& state);
