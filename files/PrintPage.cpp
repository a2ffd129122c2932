#include "files/PrintPage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "display/PeakReadout.h"
#include "model/TextCatalogue.h"
#include "model/UnitTables.h"
#include "ui/NumberFormat.h"
#include "ui/TextHelpers.h"

namespace {

constexpr long double kMmPerInch = 25.4L;
constexpr int kPointsPerInch = 72;
constexpr double kLineSpacing = 1.5;
constexpr double kPointStep = 0.25;  // the grid the fitted sizes lie on

// Margins and gaps of the page in millimetres.
constexpr int kMarginMm = 5;
constexpr int kLandscapeTopMm = 15;
constexpr int kLabelRoomMm = 15;    // left of each graph for its dB or amplitude labels
constexpr int kGraphGapMm = 10;     // below each graph for its frequency or time labels
constexpr int kTextGapMm = 15;      // between the graph and the text block (portrait)
constexpr int kSideMarginsMm = 10;  // portrait: 5 mm either side
constexpr int kLandscapeGraphInsetMm = 20;

// A font's height in pixels at a resolution, rounded as the platform's MulDiv does.
int FontPixelHeight(double points, int dpi) { return static_cast<int>(std::lround(points * dpi / kPointsPerInch)); }

// Pixels of a bitmap drawn at no more than kMaxBitmapDpi for a span of `pixels` at dpi.
int CappedPixels(int pixels, int dpi) {
  if (dpi <= kMaxBitmapDpi) return pixels;
  return static_cast<int>(static_cast<std::int64_t>(pixels) * kMaxBitmapDpi / dpi);
}

const char* WindowLine(std::int32_t whichWindowFunc) {
  switch (whichWindowFunc) {
    case 1:
      return "窓関数：ハニング窓";
    case 2:
      return "窓関数：ハミング窓";
    case 3:
      return "窓関数：フラットトップ";
    default:
      return "窓関数：矩形波窓";
  }
}

std::string YesNo(std::uint8_t flag) { return Localized(flag == 1 ? "有り" : "なし"); }

constexpr char kFileNameLabel[] = "ファイル名：";
constexpr char kEllipsis[] = "…";

// A text split into its characters (UTF-8 sequences; a stray byte is one of its own).
std::vector<std::string> CharactersOf(const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = std::max<std::size_t>(1, Utf8SequenceLength(std::string_view(text).substr(at)));
    characters.push_back(text.substr(at, length));
    at += length;
  }
  return characters;
}

std::string Joined(std::vector<std::string>::const_iterator from, std::vector<std::string>::const_iterator to) {
  std::string text;
  for (; from != to; ++from) text += *from;
  return text;
}

// The largest count in [0, most] for which fits holds, fits(0) assumed; fits holds for
// every count below one it holds for.
std::size_t LargestFitting(std::size_t most, const std::function<bool(std::size_t)>& fits) {
  std::size_t low = 0, high = most;
  while (low < high) {
    const std::size_t middle = (low + high + 1) / 2;
    if (fits(middle)) {
      low = middle;
    } else {
      high = middle - 1;
    }
  }
  return low;
}

}  // namespace

int MmToPixel(int mm, int dpi) { return static_cast<int>(static_cast<long double>(mm) / kMmPerInch * dpi); }

PageLayout LayOutPage(const PrinterMetrics& m, bool withWave) {
  auto mx = [&](int mm) { return MmToPixel(mm, m.dpiX); };
  auto my = [&](int mm) { return MmToPixel(mm, m.dpiY); };
  PageLayout p;
  p.left = mx(kMarginMm);
  p.top = my(m.landscape ? kLandscapeTopMm : kMarginMm);
  p.graphWidth = m.landscape ? mx(m.heightMm - kLandscapeGraphInsetMm) : mx(m.widthMm - kSideMarginsMm);
  p.graphHeight = p.graphWidth * 3 / 4;
  p.plotLeft = mx(kLabelRoomMm) + p.left;
  p.plotWidth = p.graphWidth - mx(kLabelRoomMm);
  p.plotRight = p.plotLeft + p.plotWidth;
  if (withWave) {
    p.plotHeight = p.graphHeight / 2 - my(kGraphGapMm);
    p.wave = PageRect{p.plotLeft, p.top, p.plotRight, p.top + p.plotHeight};
    const int spectrumTop = p.top + p.plotHeight + my(kGraphGapMm);
    p.spectrum = {p.plotLeft, spectrumTop, p.plotRight, spectrumTop + p.plotHeight};
  } else {
    p.plotHeight = p.graphHeight - my(kGraphGapMm);
    p.spectrum = {p.plotLeft, p.top, p.plotRight, p.top + p.plotHeight};
  }
  p.bitmapWidth = CappedPixels(p.plotWidth, m.dpiX);
  p.bitmapHeight = CappedPixels(p.plotHeight, m.dpiY);
  if (m.landscape) {
    p.textX = mx(kLabelRoomMm) + p.left + p.graphWidth;
    p.textY = p.top;
    p.textRoom = mx(m.widthMm) - p.textX;
  } else {
    p.textX = mx(kLabelRoomMm) + p.left;
    p.textY = my(kTextGapMm) + p.top + p.graphHeight;
  }
  p.fileNameRoom = mx(m.widthMm) - p.textX;
  p.lineStep = static_cast<int>(FontPixelHeight(kTextPoints, m.dpiY) * kLineSpacing);
  return p;
}

float PrintScale(const PrinterMetrics& metrics) {
  return static_cast<float>(metrics.dpiY) / static_cast<float>(kScreenDpi);
}

double FitTextPoints(const std::function<int(double points)>& widthAt, std::optional<int> room) {
  if (!room) return kTextPoints;
  const int full = widthAt(kTextPoints);
  if (full <= *room) return kTextPoints;
  const double estimate = kTextPoints * std::max(*room, 0) / full;
  double points = std::max(kMinTextPoints, std::floor(estimate / kPointStep) * kPointStep);
  while (points > kMinTextPoints && widthAt(points) > *room) points -= kPointStep;
  return std::max(points, kMinTextPoints);
}

FittedLine FitFileNameLine(const std::string& path, const std::function<int(const std::string&, double)>& widthAt,
                           int room) {
  const std::string whole = Localized(kFileNameLabel) + path;
  if (widthAt(whole, kTextPoints) <= room) return {whole, kTextPoints};
  // The directories' start is kept as far as it fits; the separator before the name stays.
  const std::string name = FileNameOf(path);
  const std::vector<std::string> directory =
      CharactersOf(path.substr(0, path.size() - name.size() - (name.empty() ? 0 : 1)));
  const std::string tail = name.empty() ? path : path.substr(path.size() - name.size() - 1);
  const auto elided = [&](std::size_t kept) {
    return Localized(kFileNameLabel) +
           Joined(directory.begin(), directory.begin() + static_cast<std::ptrdiff_t>(kept)) + kEllipsis + tail;
  };
  if (!name.empty() && widthAt(elided(0), kTextPoints) <= room) {
    const std::size_t kept =
        LargestFitting(directory.size(), [&](std::size_t n) { return widthAt(elided(n), kTextPoints) <= room; });
    return {elided(kept), kTextPoints};
  }
  const std::string shortest = name.empty() ? whole : elided(0);
  const double points = FitTextPoints([&](double size) { return widthAt(shortest, size); }, room);
  if (widthAt(shortest, points) <= room) return {shortest, points};
  // Not even the name fits at the smallest size: its start and its end (the extension) stay.
  const std::vector<std::string> characters = CharactersOf(name.empty() ? path : name);
  if (characters.empty()) return {shortest, points};
  const std::string lead =
      Localized(kFileNameLabel) + std::string(name.empty() ? "" : std::string(kEllipsis) + (tail.substr(0, 1)));
  const auto cut = [&](std::size_t kept) {
    const std::size_t front = (kept + 1) / 2;
    return lead + Joined(characters.begin(), characters.begin() + static_cast<std::ptrdiff_t>(front)) + kEllipsis +
           Joined(characters.end() - static_cast<std::ptrdiff_t>(kept - front), characters.end());
  };
  const std::size_t kept =
      LargestFitting(characters.size() - 1, [&](std::size_t n) { return widthAt(cut(n), kMinTextPoints) <= room; });
  return {cut(kept), kMinTextPoints};
}

std::string FreqStepText(float deltaF) { return Format0_000(deltaF) + "Hz"; }

PrintInfo PrintInfoOf(const MeasureData& data, const FftSetting& fft, const SaveSetting& save) {
  const PeakTexts peak = PeakTextsOf(data, FindPeakBin(data), fft);
  return PrintInfo{.samples = data.ad_dnum,
                   .fft = fft,
                   .save = save,
                   .rateText = RateText(static_cast<int>(data.spsSel)),
                   .freqStepText = FreqStepText(data.deltaF),
                   .peakVolt = peak.volt,
                   .peakDb = peak.dB,
                   .peakHz = peak.hz,
                   .peakVoltUnit = peak.unit,
                   .average = {}};
}

std::string SpectrumAverageLine(const SpectrumAverage& average) {
  const std::string spectra = FormatInteger(average.spectra);
  switch (average.kind) {
    case SpectrumAveraging::None:
      break;
    case SpectrumAveraging::Rms:
      return Localized("スペクトル：RMS平均（%1回）", {spectra});
    case SpectrumAveraging::PeakHold:
      return Localized("スペクトル：ピークホールド（%1回）", {spectra});
    case SpectrumAveraging::Exponential:
      return Localized("スペクトル：指数平均（直近%1回、計%2回）", {FormatInteger(average.depth), spectra});
  }
  return {};
}

std::array<std::string, kTextLineCount> PrintTextLines(const PrintInfo& info) {
  const FftSetting& fft = info.fft;
  const bool absolute = fft.fAbsoGraph == 1;
  return {
      "< Zemtra >",
      Localized("データ数：%1", {FormatInteger(info.samples)}),
      Localized("サンプリング：%1", {info.rateText}),
      Localized("周波数分解能：%1", {info.freqStepText}),
      Localized(absolute ? "dB表示：絶対値表示[dBV]" : "dB表示：相対値表示"),
      Localized("窓関数による減衰の補正計算：%1", {YesNo(fft.fWinFuncAdjust)}),
      Localized(WindowLine(fft.whichWindowFunc)),
      Localized("FFT計算 DCカット：%1", {YesNo(fft.fDCCut_FFT)}),
      Localized("信号波形 DCカット：%1", {YesNo(fft.fDCCut_SigGraph)}),
      Localized("ピーク値[%1]：%2", {info.peakVoltUnit, info.peakVolt}),
      Localized(absolute ? "ピーク値[dBV]：%1" : "ピーク値[dB]：%1", {info.peakDb}),
      Localized("ピーク値[Hz]：%1", {info.peakHz}),
      Localized("測定：%1", {info.save.StartDateTime}),
      Localized(kFileNameLabel) + info.save.DataFileName,
  };
}
