#include "display/AxisLabels.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ui/NumberFormat.h"

namespace {

constexpr std::array<const char*, kFreqCount> kSparseLogTexts{"0.1Hz", "2",     "5", "1Hz", "2",    "5",   "10Hz", "2",
                                                              "5",     "100Hz", "2", "5",   "1kHz", "1.5", "2.4"};
constexpr std::array<const char*, kFreqCount> kFullLogTexts{"0.1Hz", "0.2Hz", "0.5Hz", "1Hz",    "2Hz",
                                                            "5Hz",   "10Hz",  "20Hz",  "50Hz",   "100Hz",
                                                            "200Hz", "500Hz", "1kHz",  "1.5kHz", "2.4kHz"};
// A range wider than this many indices gets the sparse list.
constexpr int kFullListSpan = 3;

constexpr int kFirstLinearIndex = 6;
constexpr int kLastLinearIndex = kFreqCount - 1;
constexpr const char* kLinear10[] = {"0", "2", "4", "6", "8", "10Hz"};
constexpr const char* kLinear20[] = {"0", "5", "10", "15", "20Hz"};
constexpr const char* kLinear50[] = {"0", "10", "20", "30", "40", "50Hz"};
constexpr const char* kLinear100[] = {"0", "20", "40", "60", "80", "100Hz"};
constexpr const char* kLinear200[] = {"0", "50", "100", "150", "200Hz"};
constexpr const char* kLinear500[] = {"0", "100", "200", "300", "400", "500Hz"};
constexpr const char* kLinear1000[] = {"0", "200", "400", "600", "800", "1000Hz"};
constexpr const char* kLinear1500[] = {"0", "0.5", "1", "1.5kHz"};
constexpr const char* kLinear2400[] = {"0", "0.4", "0.8", "1.2", "1.6", "2kHz", "2.4"};
const std::array<std::span<const char* const>, kLastLinearIndex - kFirstLinearIndex + 1> kLinearTexts{
    kLinear10, kLinear20, kLinear50, kLinear100, kLinear200, kLinear500, kLinear1000, kLinear1500, kLinear2400};

// Label placement: gaps between labels and boxes, in screen pixels.
constexpr int kFreqLabelGap = 5;        // below the spectrum box
constexpr int kStartLabelReserve = 20;  // room kept for the start label of the log axis
constexpr int kLabelToBoxGap = 2;       // right edge of a left label to the box
constexpr int kTimeLabelGap = 2;        // below the waveform box
constexpr int kLowestBottomIndex = 3;   // dB labels placed only with the bottom at or below -10 dB

bool LinearListExists(int indexFreqE) { return indexFreqE >= kFirstLinearIndex && indexFreqE <= kLastLinearIndex; }

bool DbLabelsPlaceable(const FftSetting& setting) {
  const int top = DbTopIndexOf(setting);
  return setting.index_dB_min >= kLowestBottomIndex && setting.index_dB_min < kDbLevelCount && top >= 0 &&
         setting.index_dB_min > top;
}

// Log of a table frequency relative to the start of the axis, in axis widths.
double LogPosition(int index, const FreqRange& range) {
  const float lmin = std::log10(range.min);
  const float k = 1.0F / (std::log10(range.max) - lmin);
  return (std::log10(static_cast<double>(FrequencyTable[static_cast<std::size_t>(index)])) - lmin) * k;
}

// Each place moved wholly inside the area.
template <std::size_t N>
std::array<LabelPlace, N> EachKeptInside(std::array<LabelPlace, N> places, std::span<const LabelSize, N> sizes,
                                         const LabelArea& area) {
  for (std::size_t i = 0; i < N; ++i) places[i] = KeptInside(places[i], sizes[i], area);
  return places;
}

struct VoltRow {
  double above;
  int decimals;
  double factor;
  const char* unit;
};
constexpr std::array<VoltRow, 7> kVoltRows{{{0.1, 2, 1.0, "[V]"},
                                            {0.01, 1, 1e3, "[mV]"},
                                            {0.001, 2, 1e3, "[mV]"},
                                            {0.0001, 3, 1e3, "[mV]"},
                                            {0.00001, 1, 1e6, "[uV]"},
                                            {0.000001, 2, 1e6, "[uV]"},
                                            {-1.0, 1, 1e9, "[nV]"}}};

}  // namespace

LabelPlace KeptInside(LabelPlace place, const LabelSize& size, const LabelArea& area) {
  place.left = std::max(0, std::min(place.left, area.width - size.width));
  place.top = std::max(0, std::min(place.top, area.height - size.height));
  return place;
}

const std::array<const char*, kFreqCount>& LogFreqLabelTexts(int indexFreqS, int indexFreqE) {
  return indexFreqE - indexFreqS > kFullListSpan ? kSparseLogTexts : kFullLogTexts;
}

std::span<const char* const> LinearFreqLabelTexts(int indexFreqE) {
  if (!LinearListExists(indexFreqE)) return {};
  return kLinearTexts[static_cast<std::size_t>(indexFreqE - kFirstLinearIndex)];
}

std::string DbLabelText(int index, const FftSetting& setting) {
  constexpr int kTopLevel = 20, kLevelStep = 10;
  std::string text = FormatInteger(kTopLevel - kLevelStep * index);
  if (index == DbTopIndexOf(setting) || index == setting.index_dB_min) text += setting.fAbsoGraph ? "dBV" : "dB";
  return text;
}

WaveValueTexts VoltLabelTexts(VoltRange range) {
  const double e = std::max(std::fabs(range.max), std::fabs(range.min));
  const VoltRow* row = &kVoltRows.back();
  for (const auto& candidate : kVoltRows) {
    if (e > candidate.above) {
      row = &candidate;
      break;
    }
  }
  const double middle = (static_cast<double>(range.max) + range.min) / 2.0;
  return {FormatFixed(range.max * row->factor, row->decimals), FormatFixed(middle * row->factor, row->decimals),
          FormatFixed(range.min * row->factor, row->decimals), row->unit};
}

WaveValueTexts CodeLabelTexts(CodeRange range) {
  const std::int64_t middle = (static_cast<std::int64_t>(range.max) + range.min) / 2;
  return {FormatInteger(range.max), FormatInteger(middle), FormatInteger(range.min), "[digit]"};
}

std::string FormatTime(float ms) {
  constexpr float kMsPerSecond = 1000.0F;
  if (ms < 1.0F) return Format0(static_cast<double>(ms * kMsPerSecond)) + "us";
  if (ms < kMsPerSecond) return Format0_00(ms) + "ms";
  return Format0_000(static_cast<double>(ms * 0.001F)) + "s";
}

float TimeAxisSpanMs(const MeasureData& cur, const MeasureData& ref, int adSpsSel, std::int32_t dataCountMax,
                     SamplePeriodFn samplePeriod) {
  if (cur.HasData() && ref.HasData()) return std::max(RecordSpanMs(cur, samplePeriod), RecordSpanMs(ref, samplePeriod));
  if (cur.HasData()) return RecordSpanMs(cur, samplePeriod);
  if (ref.HasData()) return RecordSpanMs(ref, samplePeriod);
  return samplePeriod(adSpsSel) * static_cast<float>(dataCountMax);
}

std::optional<std::array<LabelPlace, kFreqCount>> PlaceFreqLabels(const BoxRect& box, const LabelArea& area,
                                                                  std::span<const LabelSize, kFreqCount> sizes,
                                                                  const FftSetting& setting) {
  std::array<LabelPlace, kFreqCount> places{};
  const int top = box.top + box.height + kFreqLabelGap;
  for (auto& place : places) place = {box.left, top, false};
  if (setting.fLogGraph) {
    const auto range = FreqRangeOf(setting);
    if (!range) return std::nullopt;
    int limit = 0;
    for (int i = 0; i < kFreqCount; ++i) {
      auto& place = places[static_cast<std::size_t>(i)];
      const LabelSize size = sizes[static_cast<std::size_t>(i)];
      if (i < setting.index_FreqS || i > setting.index_FreqE) continue;
      if (i == setting.index_FreqS) {
        place = {box.left, top, true};
        limit = box.left + kStartLabelReserve;
      } else if (i == setting.index_FreqE) {
        place = {box.left + box.width - size.width / 2, top, true};
      } else {
        const int left =
            TruncToPixel(box.left + box.width * LogPosition(i, *range) - static_cast<double>(size.width / 2) + 1);
        place = {left, top, left > limit};
        if (place.shown) limit = left + size.width;
      }
    }
    return EachKeptInside(places, sizes, area);
  }
  const auto texts = LinearFreqLabelTexts(setting.index_FreqE);
  if (texts.empty()) return std::nullopt;
  const int n = static_cast<int>(texts.size());
  const int pitch = box.width / (n - 1);
  for (int i = 0; i < n; ++i) {
    const int width = sizes[static_cast<std::size_t>(i)].width;
    int left = box.left + i * pitch - width / 2;
    if (i == 0) left = box.left;
    if (i == n - 1) left = box.left + box.width - width;
    places[static_cast<std::size_t>(i)] = {left, top, true};
  }
  return EachKeptInside(places, sizes, area);
}

int DbLabelStride(double h, double p) {
  constexpr int kEndsOnly = 0;
  if (1.5 * h < p) return 1;
  if (0.7 * h < p) return 2;
  if (h < 2.0 * p) return 3;
  if (h < 3.0 * p) return 4;
  return kEndsOnly;
}

namespace {

// The dB label indices shown for the given stride (0: the two ends only).
std::vector<int> ShownDbLabels(const FftSetting& setting, int stride) {
  const int top = DbTopIndexOf(setting);
  if (stride == 0) return {top, setting.index_dB_min};
  std::vector<int> shown;
  for (int i = top; i <= setting.index_dB_min; i += stride) shown.push_back(i);
  return shown;
}

}  // namespace

std::optional<std::array<LabelPlace, kDbLevelCount>> PlaceDbLabels(const BoxRect& box, const LabelArea& area,
                                                                   std::span<const LabelSize, kDbLevelCount> sizes,
                                                                   const FftSetting& setting) {
  if (!DbLabelsPlaceable(setting)) return std::nullopt;
  const int topIndex = DbTopIndexOf(setting);
  const int divisions = setting.index_dB_min - topIndex;
  const float pitch = static_cast<float>(box.height) / static_cast<float>(divisions);
  std::array<LabelPlace, kDbLevelCount> places{};
  for (int i = 0; i < kDbLevelCount; ++i) {
    const LabelSize size = sizes[static_cast<std::size_t>(i)];
    const float level = static_cast<float>(i - topIndex) * pitch;
    const int top = TruncToPixel(level - static_cast<float>(std::abs(size.height / 2))) + box.top + 1;
    places[static_cast<std::size_t>(i)] = {box.left - size.width - kLabelToBoxGap, top, false};
  }
  const int h = sizes[static_cast<std::size_t>(topIndex)].height;
  for (int i : ShownDbLabels(setting, DbLabelStride(h, pitch))) places[static_cast<std::size_t>(i)].shown = true;
  return EachKeptInside(places, sizes, area);
}

std::array<LabelPlace, kWaveLabelCount> PlaceWaveLabels(const BoxRect& box, const LabelArea& area,
                                                        std::span<const LabelSize, kWaveLabelCount> sizes) {
  auto leftOf = [&](WaveLabel label) { return box.left - sizes[label].width - kLabelToBoxGap; };
  auto halfHeight = [&](WaveLabel label) { return sizes[label].height / 2; };
  std::array<LabelPlace, kWaveLabelCount> places{};
  places[kVoltUnit] = {leftOf(kVoltUnit), box.top - halfHeight(kVoltUnit), true};
  places[kVoltMax] = {leftOf(kVoltMax), box.top + box.height / 6 - halfHeight(kVoltMax) + 1, true};
  places[kVoltZero] = {leftOf(kVoltZero), box.top + box.height / 2 - halfHeight(kVoltZero), true};
  places[kVoltMin] = {leftOf(kVoltMin), box.top + 5 * box.height / 6 - halfHeight(kVoltMin), true};
  const int timeTop = box.top + box.height + kTimeLabelGap;
  places[kTimeS] = {box.left, timeTop, true};
  places[kTimeE] = {box.left + box.width - sizes[kTimeE].width, timeTop, true};
  return EachKeptInside(places, sizes, area);
}

namespace {

// A screen length scaled to the printer, truncated.
int Scaled(double length, float s) { return TruncToPixel(length * static_cast<double>(s)); }

}  // namespace

std::vector<PrintedLabel> PrintFreqLabelPlaces(const PageRect& rect, float s,
                                               std::span<const LabelSize, kFreqCount> sizes,
                                               const FftSetting& setting) {
  std::vector<PrintedLabel> printed;
  const int y = rect.bottom + Scaled(kFreqLabelGap, s);
  const int span = rect.right - rect.left;
  auto width = [&](int i) { return sizes[static_cast<std::size_t>(i)].width; };
  if (setting.fLogGraph) {
    const auto range = FreqRangeOf(setting);
    if (!range) return printed;
    int limit = rect.left + Scaled(kStartLabelReserve, s);
    for (int i = setting.index_FreqS; i <= setting.index_FreqE; ++i) {
      if (i == setting.index_FreqS) {
        printed.push_back({i, rect.left, y});
      } else if (i == setting.index_FreqE) {
        printed.push_back({i, rect.right - Scaled(width(i), s), y});
      } else {
        const int x = TruncToPixel(rect.left + span * LogPosition(i, *range) - Scaled(width(i) * 0.5, s));
        if (x > limit) {
          printed.push_back({i, x, y});
          limit = x + Scaled(width(i), s);
        }
      }
    }
    return printed;
  }
  const auto texts = LinearFreqLabelTexts(setting.index_FreqE);
  const int n = static_cast<int>(texts.size());
  for (int i = 0; i < n; ++i) {
    int x = rect.left + i * (span / (n - 1)) - Scaled(width(i) * 0.5, s);
    if (i == 0) x = rect.left;
    if (i == n - 1) x = rect.right - Scaled(width(i), s);
    printed.push_back({i, x, y});
  }
  return printed;
}

std::vector<PrintedLabel> PrintDbLabelPlaces(const PageRect& rect, float s,
                                             std::span<const LabelSize, kDbLevelCount> sizes,
                                             const FftSetting& setting) {
  std::vector<PrintedLabel> printed;
  if (!DbLabelsPlaceable(setting)) return printed;
  const int top = DbTopIndexOf(setting);
  const int divisions = setting.index_dB_min - top;
  const double pitch = static_cast<double>(rect.bottom - rect.top) / divisions;
  const int h = Scaled(sizes[static_cast<std::size_t>(top)].height, s);
  auto x = [&](int i) { return rect.left - Scaled(sizes[static_cast<std::size_t>(i)].width + kLabelToBoxGap, s); };
  auto halfHeight = [&](int i) { return std::abs(Scaled(sizes[static_cast<std::size_t>(i)].height * 0.5, s)); };
  const int stride = DbLabelStride(h, pitch);
  if (stride == 0) {
    printed.push_back({top, x(top), rect.top - halfHeight(top)});
    printed.push_back({setting.index_dB_min, x(setting.index_dB_min), rect.bottom - halfHeight(setting.index_dB_min)});
    return printed;
  }
  for (int i : ShownDbLabels(setting, stride)) {
    const int j = i - top;
    printed.push_back({i, x(i), TruncToPixel(j * pitch + rect.top - halfHeight(i))});
  }
  return printed;
}

std::vector<PrintedLabel> PrintVoltLabelPlaces(const PageRect& rect, float s,
                                               std::span<const LabelSize, kWaveLabelCount> sizes) {
  const int height = rect.bottom - rect.top;
  auto x = [&](WaveLabel label) { return rect.left - Scaled(sizes[label].width + kLabelToBoxGap, s); };
  auto y = [&](WaveLabel label, int level) { return rect.top + level - Scaled(sizes[label].height * 0.5, s); };
  return {{kVoltUnit, x(kVoltUnit), rect.top},
          {kVoltMax, x(kVoltMax), y(kVoltMax, height / 6)},
          {kVoltZero, x(kVoltZero), y(kVoltZero, height / 2)},
          {kVoltMin, x(kVoltMin), y(kVoltMin, 5 * height / 6)}};
}

std::vector<PrintedLabel> PrintTimeLabelPlaces(const PageRect& rect, float s,
                                               std::span<const LabelSize, kWaveLabelCount> sizes) {
  const int y = rect.bottom + Scaled(kTimeLabelGap, s);
  return {{kTimeS, rect.left, y}, {kTimeE, rect.right - Scaled(sizes[kTimeE].width + kLabelToBoxGap, s), y}};
}
