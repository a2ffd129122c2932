// Redrawing both graphs with a reference beside bare polylines of the same points into
// the same bitmaps, so the cost of everything beyond drawing is read from one run.
#include <benchmark/benchmark.h>

#include <QPainter>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "BenchApp.h"
#include "display/BitmapPainter.h"
#include "display/GraphPicture.h"
#include "model/UnitTables.h"

namespace {

// A noisy sine of n samples at 4800 samples per second with a 1/f-like spectrum.
struct Measurement {
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  Measurement(int n, float amplitude, unsigned seed) {
    buffers->Bind(data);
    std::mt19937 rng(seed);
    std::normal_distribution<float> noise(0.0F, 1e-4F);
    data.ad_dnum = n;
    data.spsSel = 12;
    data.deltaF = 4800.0F / static_cast<float>(n);
    double sum = 0.0;
    data.voltMax = -1e9F;
    data.voltMin = 1e9F;
    for (int i = 0; i < n; ++i) {
      const float v = amplitude * std::sin(0.05F * static_cast<float>(i)) + noise(rng);
      data.volt[i] = v;
      data.adCode[i] = 8388608 + static_cast<int>(v * 1e6F);
      data.voltMax = std::max(data.voltMax, v);
      data.voltMin = std::min(data.voltMin, v);
      sum += v;
    }
    data.voltMean = static_cast<float>(sum / n);
    for (int k = 0; k < n / 2; ++k) data.spectrum[k] = std::fabs(noise(rng)) / std::sqrt(1.0F + static_cast<float>(k));
  }
};

struct Workload {
  Measurement cur;
  Measurement ref;
  AdUnitSetting ad;
  FftSetting fft;
  explicit Workload(int n) : cur(n, 0.01F, 1), ref(n, 0.005F, 2) {
    fft.fLogGraph = 1;
    fft.fSig_Volt = 1;
  }
};

void BM_RedrawAll(benchmark::State& state) {
  BenchApp();
  Workload w(static_cast<int>(state.range(0)));
  GraphPicture host(w.cur.data, w.ref.data, w.ad, w.fft);
  host.Redraw();
  // As after a settings change: labels, layout, sizes, empty grids, both overlays.
  for (auto _ : state) host.Redraw();
}
BENCHMARK(BM_RedrawAll)->Arg(65536)->Unit(benchmark::kMillisecond);

// The four curves' vertices as the graph maps them.
std::vector<QPoint> SpectrumPoints(const MeasureData& d, const FftSetting& fft, float peakAmp, int w, int h) {
  const auto scale = SpectrumScale::Of(fft, w, h);
  const int bins = d.ad_dnum / 2;
  const auto range = LogBinRange(scale->Freq(), d.deltaF, bins);
  const float bottom = DbBottomOf(fft);
  const float threshold = DbThreshold(bottom);
  std::vector<QPoint> points;
  for (int j = range->first; j <= range->last; ++j) {
    const float dB = DisplayDb(d.spectrum[j], bottom, threshold, fft.fAbsoGraph != 0, peakAmp);
    points.emplace_back(scale->X(static_cast<float>(j) * d.deltaF), scale->Y(dB));
  }
  return points;
}

std::vector<QPoint> WavePoints(const MeasureData& d, const WaveScale& scale, float waveTime, int w, int h) {
  std::vector<QPoint> points;
  const float period = SamplePeriodMs(static_cast<int>(d.spsSel));
  for (int i = 0; i < d.ad_dnum; ++i) {
    const int x = static_cast<int>(static_cast<float>(w) * ((static_cast<float>(i) * period) / waveTime));
    points.emplace_back(x, scale.Y(d.volt[i], 0.0F, h));
  }
  return points;
}

void BM_BaselinePolylines(benchmark::State& state) {
  BenchApp();
  Workload w(static_cast<int>(state.range(0)));
  constexpr int kW = 622, kH = 181;
  const float peak = LargestAmplitude(w.cur.data.spectrum, w.cur.data.ad_dnum / 2);
  const auto specCur = SpectrumPoints(w.cur.data, w.fft, peak, kW, kH);
  const auto specRef = SpectrumPoints(w.ref.data, w.fft, peak, kW, kH);
  const WaveScale scale = WaveScaleOf(JointVoltRange(w.cur.data, w.ref.data, false));
  const float waveTime = RecordSpanMs(w.cur.data, &SamplePeriodMs);
  const auto waveCur = WavePoints(w.cur.data, scale, waveTime, kW, kH);
  const auto waveRef = WavePoints(w.ref.data, scale, waveTime, kW, kH);
  QImage spectrumImage(kW, kH, QImage::Format_RGB32), wave(kW, kH, QImage::Format_RGB32);
  spectrumImage.fill(Qt::white);
  wave.fill(Qt::white);
  auto draw = [](QImage& image, const std::vector<QPoint>& first, const std::vector<QPoint>& second) {
    BitmapPainter painter(image);  // the graph's own fast path, so only the rest is compared
    painter.setPen(QPen(Qt::red, 1));
    painter.drawPolyline(first.data(), static_cast<int>(first.size()));
    painter.setPen(QPen(Qt::gray, 1));
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawPolyline(second.data(), static_cast<int>(second.size()));
  };
  for (auto _ : state) {
    draw(spectrumImage, specCur, specRef);
    draw(wave, waveCur, waveRef);
  }
}
BENCHMARK(BM_BaselinePolylines)->Arg(65536)->Unit(benchmark::kMillisecond);

}  // namespace
