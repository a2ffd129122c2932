#include "files/PrintPage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "display/PeakReadout.h"
#include "model/UnitTables.h"
#include "ui/NumberFormat.h"

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

const char* YesNo(std::uint8_t flag) { return flag == 1 ? "有り" : "なし"; }

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
                   .peakVoltUnit = peak.unit};
}

std::array<std::string, kTextLineCount> PrintTextLines(const PrintInfo& info) {
  const FftSetting& fft = info.fft;
  const bool absolute = fft.fAbsoGraph == 1;
  return {
      "< Zemtra >",
      "データ数：" + FormatInteger(info.samples),
      "サンプリング：" + info.rateText,
      "周波数分解能：" + info.freqStepText,
      absolute ? "dB表示：絶対値表示[dBV]" : "dB表示：相対値表示",
      std::string("窓関数による減衰の補正計算：") + YesNo(fft.fWinFuncAdjust),
      WindowLine(fft.whichWindowFunc),
      std::string("FFT計算 DCカット：") + YesNo(fft.fDCCut_FFT),
      std::string("信号波形 DCカット：") + YesNo(fft.fDCCut_SigGraph),
      "ピーク値[" + info.peakVoltUnit + "]：" + info.peakVolt,
      (absolute ? "ピーク値[dBV]：" : "ピーク値[dB]：") + info.peakDb,
      "ピーク値[Hz]：" + info.peakHz,
      "測定：" + info.save.StartDateTime,
      "ファイル名：" + info.save.DataFileName,
  };
}
