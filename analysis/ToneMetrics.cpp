#include "analysis/ToneMetrics.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

// The 7-term Blackman–Harris window: w[j] = Σ (−1)^i·a_i·cos(2π·i·j/N).
constexpr double kBlackmanHarris7[] = {0.27105140069342, 0.43329793923448, 0.21812299954311, 0.06592544638803,
                                       0.01081174209837, 0.00077658482522, 0.00001388721735};

constexpr double kDecibelsPerPowerDecade = 10.0;
// ENOB of a full-scale sine: SINAD = 6.02·bits + 1.76 dB.
constexpr double kSinadPerBit = 6.02;
constexpr double kSinadOfZeroBits = 1.76;
// Neighbours of a lobe the clearance compares its line with: this many lobe widths
// either side.
constexpr int kClearanceLobes = 2;
constexpr int kLobeWidth = 2 * kToneLobeLines + 1;

int CheckedLength(int n) {
  if (n < kMinToneSamples) throw std::invalid_argument("ToneAnalyser: fewer than 256 samples");
  return n;  // the plan refuses a length that is no power of two
}

double Decibels(double ratio) { return kDecibelsPerPowerDecade * std::log10(ratio); }

std::vector<double> BlackmanHarris7(int n) {
  std::vector<double> w(static_cast<std::size_t>(n));
  for (int j = 0; j < n; ++j) {
    double sum = 0.0;
    double sign = 1.0;
    for (int i = 0; i < static_cast<int>(std::size(kBlackmanHarris7)); ++i) {
      sum += sign * kBlackmanHarris7[i] * std::cos(2.0 * std::numbers::pi * i * j / n);
      sign = -sign;
    }
    w[static_cast<std::size_t>(j)] = sum;
  }
  return w;
}

double Energy(const std::vector<double>& w) {
  double sum = 0.0;
  for (const double v : w) sum += v * v;
  return sum;
}

// f folded into 0 … rate/2 as sampling folds it.
double Folded(double f, double rate) {
  const double wrapped = std::fmod(f, rate);
  return wrapped > rate / 2.0 ? rate - wrapped : wrapped;
}

}  // namespace

ToneAnalyser::ToneAnalyser(int n)
    : n_(n),
      plan_(CheckedLength(n)),
      window_(BlackmanHarris7(n)),
      windowEnergy_(Energy(window_)),
      work_(static_cast<std::size_t>(n)),
      power_(static_cast<std::size_t>(n / 2)),
      taken_(static_cast<std::size_t>(n / 2)) {}

ToneAnalyser::LineRange ToneAnalyser::LobeAround(int k) const {
  return {std::max(0, k - kToneLobeLines), std::min(n_ / 2 - 1, k + kToneLobeLines)};
}

double ToneAnalyser::LobePower(LineRange lobe, bool take) {
  double sum = 0.0;
  for (int k = lobe.first; k <= lobe.last; ++k) {
    auto& taken = taken_[static_cast<std::size_t>(k)];
    if (taken) continue;
    sum += power_[static_cast<std::size_t>(k)];
    if (take) taken = 1;
  }
  return sum;
}

std::optional<ToneMetrics> ToneAnalyser::Analyse(std::span<const std::int32_t> codes, double meanCode,
                                                 double voltsPerCode, double sampleRate) {
  if (static_cast<int>(codes.size()) != n_) throw std::invalid_argument("ToneAnalyser: another record length");
  for (std::size_t j = 0; j < codes.size(); ++j) {
    work_[j] = static_cast<float>((codes[j] - meanCode) * voltsPerCode * window_[j]);
  }
  plan_.Forward(work_.data());
  const int lines = n_ / 2;
  const double scale = 2.0 / (static_cast<double>(n_) * windowEnergy_);
  power_[0] = 0.0;  // the DC part is never read
  for (int k = 1; k < lines; ++k) {
    const double re = work_[static_cast<std::size_t>(2 * k)];
    const double im = work_[static_cast<std::size_t>(2 * k + 1)];
    power_[static_cast<std::size_t>(k)] = scale * (re * re + im * im);
  }

  const auto line = [&](int k) { return power_[static_cast<std::size_t>(k)]; };
  const int firstAboveDc = kToneLobeLines + 1;
  int peak = firstAboveDc;
  for (int k = firstAboveDc; k < lines; ++k) {
    if (line(k) > line(peak)) peak = k;
  }
  const LineRange lobe = LobeAround(peak);
  const LineRange fundamental{std::max(firstAboveDc, lobe.first), lobe.last};

  double neighbours = 0.0;
  int neighbourLines = 0;
  const int reach = kClearanceLobes * kLobeWidth;
  for (int k = std::max(firstAboveDc, fundamental.first - reach); k <= std::min(lines - 1, fundamental.last + reach);
       ++k) {
    if (k >= fundamental.first && k <= fundamental.last) continue;
    neighbours += line(k);
    ++neighbourLines;
  }
  if (neighbourLines == 0 || !(line(peak) >= kToneClearance * neighbours / neighbourLines)) return std::nullopt;

  std::fill(taken_.begin(), taken_.end(), 0);
  std::fill(taken_.begin(), taken_.begin() + firstAboveDc, 1);
  ToneMetrics tone;
  double weighted = 0.0;
  for (int k = fundamental.first; k <= fundamental.last; ++k) weighted += k * line(k);
  const double p1 = LobePower(fundamental, true);
  const double deltaF = sampleRate / n_;
  tone.frequencyHz = weighted / p1 * deltaF;
  tone.vrms = std::sqrt(p1);

  // The largest other component, before the harmonics take their lines.
  int spur = -1;
  for (int k = firstAboveDc; k < lines; ++k) {
    if (!taken_[static_cast<std::size_t>(k)] && (spur < 0 || line(k) > line(spur))) spur = k;
  }
  const double spurPower = spur < 0 ? 0.0 : LobePower(LobeAround(spur), false);

  double harmonicPower = 0.0;
  for (int order = 2; order <= kHighestHarmonic; ++order) {
    const double f = Folded(order * tone.frequencyHz, sampleRate);
    const double ph = LobePower(LobeAround(static_cast<int>(std::lround(f / deltaF))), true);
    harmonicPower += ph;
    tone.harmonics.push_back({order, f, ph > 0.0 ? std::optional(Decibels(ph / p1)) : std::nullopt});
  }

  double rest = 0.0;
  int restLines = 0;
  for (int k = firstAboveDc; k < lines; ++k) {
    if (taken_[static_cast<std::size_t>(k)]) continue;
    rest += line(k);
    ++restLines;
  }
  const double noise = restLines == 0 ? 0.0 : rest / restLines * lines;
  tone.snrDb = Decibels(p1 / noise);
  tone.thdDb = Decibels(harmonicPower / p1);
  tone.sinadDb = Decibels(p1 / (noise + harmonicPower));
  tone.sfdrDbc = Decibels(p1 / spurPower);
  tone.enobBits = (tone.sinadDb - kSinadOfZeroBits) / kSinadPerBit;
  return tone;
}

ToneAnalyser& ToneAnalysers::For(int n) {
  std::unique_ptr<ToneAnalyser>& analyser = analysers_[n];
  if (!analyser) analyser = std::make_unique<ToneAnalyser>(n);
  return *analyser;
}
