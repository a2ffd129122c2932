// What the command-line tool reports about one analysed measurement: the numbers
// behind the main window's readouts and the exact texts it would show, as a
// human-readable summary or one JSON object.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/Records.h"

struct WrittenFile {
  std::string kind;  // "data", "fft", "png" or "pdf"
  std::string path;
  bool written = false;  // false when the user declined to replace an existing file
};

struct MeasurementReport {
  std::string unitInfo;  // panel 0 after a measurement; empty for a loaded file
  int samples = 0;
  int rateSps = 0;
  std::string rateText;
  std::int32_t gain = 0;
  std::int32_t channel = 0;
  float deltaF = 0.0F;
  std::string freqInfo;  // the frequency-step line of status panel 2

  float rmsVolts = 0.0F;
  std::string rmsText;
  std::string rmsUnit;

  int peakBin = 0;
  double peakHz = 0.0;
  float peakVolts = 0.0F;
  float peakDb = 0.0F;
  std::array<std::string, 3> peakTexts;  // amplitude, level, frequency as the readout shows them
  std::string peakUnit;
  std::string peakDbUnit;  // "dBV" in absolute display, else "dB"

  std::int32_t codeMax = 0;
  std::int32_t codeMin = 0;
  float deviationDigits = 0.0F;
  std::string statsText;

  std::string start;  // StartDateTime
  std::vector<WrittenFile> files;
};

// Fills every number and text from an analysed record and its settings.
MeasurementReport BuildReport(const MeasureData& data, const AdUnitSetting& unit, const FftSetting& fft,
                              const SaveSetting& save, float deviationDigits);

std::string ReportJson(const MeasurementReport& report);
std::string ReportText(const MeasurementReport& report);
