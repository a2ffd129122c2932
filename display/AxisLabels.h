// The axis label texts of both graphs and where they go: on screen around the paint
// boxes (label sizes are those of the labels' current texts) and on a printed page
// around the printed graphs (screen sizes scaled by s printer pixels per screen pixel).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/GraphGeometry.h"
#include "model/Records.h"

// Frequency label texts of the logarithmic axis, one per frequency index: the sparse
// list when the range spans more than three indices, else the full list.
const std::array<const char*, kFreqCount>& LogFreqLabelTexts(int indexFreqS, int indexFreqE);
// Texts of the linear axis (always from 0 Hz) for an end index 6 … 14; empty otherwise.
std::span<const char* const> LinearFreqLabelTexts(int indexFreqE);

// Text of dB label i (20 - 10i), with "dBV" (absolute) or "dB" appended on the labels
// of the range's two ends (the top one as DbTopIndexOf gives it).
std::string DbLabelText(int index, const FftSetting& setting);

// The four amplitude labels of the waveform: values at one sixth, half and five
// sixths of the height, and the unit.
struct WaveValueTexts {
  std::string max;
  std::string zero;
  std::string min;
  std::string unit;
  friend bool operator==(const WaveValueTexts&, const WaveValueTexts&) = default;
};
WaveValueTexts VoltLabelTexts(VoltRange range);
WaveValueTexts CodeLabelTexts(CodeRange range);

// A span in ms as the time axis shows it: "500us", "213.33ms", "13.653s".
std::string FormatTime(float ms);
// The span of the time axis in ms: the longer record when both hold samples, else the
// one that does, else the converter's current rate over DataCountMax samples.
float TimeAxisSpanMs(const MeasureData& cur, const MeasureData& ref, int adSpsSel, std::int32_t dataCountMax,
                     SamplePeriodFn samplePeriod);

// Size of a label's current text in screen pixels.
struct LabelSize {
  int width = 0;
  int height = 0;
};
// Where a label goes, and whether it is shown.
struct LabelPlace {
  int left = 0;
  int top = 0;
  bool shown = false;
  friend bool operator==(const LabelPlace&, const LabelPlace&) = default;
};
// The window or picture the labels stand in, from (0, 0). Every placement below keeps
// each label wholly inside it, moving it in from an edge it would cross, whatever the
// font makes of its size; a label larger than the area starts at its left or top edge.
struct LabelArea {
  int width = 0;
  int height = 0;
};
// A place moved wholly inside the area, as every placement below moves its labels.
LabelPlace KeptInside(LabelPlace place, const LabelSize& size, const LabelArea& area);

// Frequency labels below the spectrum box. None (nothing changes) for an invalid
// logarithmic range or a linear end index outside 6 … 14.
std::optional<std::array<LabelPlace, kFreqCount>> PlaceFreqLabels(const BoxRect& box, const LabelArea& area,
                                                                  std::span<const LabelSize, kFreqCount> sizes,
                                                                  const FftSetting& setting);
// dB labels left of the spectrum box, from the top index (DbTopIndexOf) down. None
// (nothing changes) unless 3 ≤ index_dB_min ≤ 20 and 0 ≤ top index < index_dB_min.
std::optional<std::array<LabelPlace, kDbLevelCount>> PlaceDbLabels(const BoxRect& box, const LabelArea& area,
                                                                   std::span<const LabelSize, kDbLevelCount> sizes,
                                                                   const FftSetting& setting);
// Which dB labels show for label height h and pitch p (pixels per 10 dB): every
// 1st, 2nd, 3rd or 4th from the top level, or 0 for the two end labels only.
int DbLabelStride(double h, double p);

// The six waveform labels, in this order.
enum WaveLabel { kVoltMax, kVoltZero, kVoltMin, kVoltUnit, kTimeS, kTimeE, kWaveLabelCount };
std::array<LabelPlace, kWaveLabelCount> PlaceWaveLabels(const BoxRect& box, const LabelArea& area,
                                                        std::span<const LabelSize, kWaveLabelCount> sizes);

// A printed graph's area on the page in printer pixels.
struct PageRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const PageRect&, const PageRect&) = default;
};
// One text to print: the label of the group at `index`, its top-left corner at (x, y).
struct PrintedLabel {
  int index = 0;
  int x = 0;
  int y = 0;
  friend bool operator==(const PrintedLabel&, const PrintedLabel&) = default;
};
std::vector<PrintedLabel> PrintFreqLabelPlaces(const PageRect& rect, float s,
                                               std::span<const LabelSize, kFreqCount> sizes, const FftSetting& setting);
std::vector<PrintedLabel> PrintDbLabelPlaces(const PageRect& rect, float s,
                                             std::span<const LabelSize, kDbLevelCount> sizes,
                                             const FftSetting& setting);
// Indices kVoltMax … kVoltUnit.
std::vector<PrintedLabel> PrintVoltLabelPlaces(const PageRect& rect, float s,
                                               std::span<const LabelSize, kWaveLabelCount> sizes);
// Indices kTimeS, kTimeE.
std::vector<PrintedLabel> PrintTimeLabelPlaces(const PageRect& rect, float s,
                                               std::span<const LabelSize, kWaveLabelCount> sizes);
