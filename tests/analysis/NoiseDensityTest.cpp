// The noise density, band noise and spectrum averaging against independent truths:
// noises of known level generated here, Parseval's relation, a direct DFT, the 1/f
// term of the simulated unit, and figures worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/NoiseDensity.h"
#include "analysis/NoiseFigures.h"
#include "analysis/PowerAverage.h"
#include "drivers/SignalModel.h"

namespace {

constexpr double kRate = 4800.0;
constexpr double kSigma = 1e-6;  // V RMS

std::vector<float> WhiteNoise(std::size_t n, std::mt19937_64& rng, double sigma = kSigma) {
  std::normal_distribution<double> normal(0.0, sigma);
  std::vector<float> x(n);
  for (float& v : x) v = static_cast<float>(normal(rng));
  return x;
}

// Power mean of density[first … last).
double PowerMean(const std::vector<double>& density, std::size_t first, std::size_t last) {
  double power = 0.0;
  for (std::size_t k = first; k < last; ++k) power += density[k] * density[k];
  return std::sqrt(power / static_cast<double>(last - first));
}

class NoiseDensityTest : public ::testing::Test {
 protected:
  FftSetting setting;
  TmyFFT fft{setting};
};

TEST_F(NoiseDensityTest, WhiteNoiseReadsItsLevelWithEveryWindowLengthAndCorrection) {
  const double expected = kSigma / std::sqrt(kRate / 2.0);  // 20.41 nV/√Hz
  struct Row {
    int length;
    int records;  // averaged, so each eighth of the lines holds 8192 line powers
  };
  constexpr int kEighths = 8;
  std::mt19937_64 rng(3);
  for (const Row row : {Row{4096, 32}, Row{65536, 2}}) {
    for (int window = TmyFFT::kRectangle; window <= TmyFFT::kFlatTop; ++window) {
      for (const int correct : {0, 1}) {
        WelchDensity welch(fft,
                           {.window = window, .correct = correct, .segmentLength = row.length, .sampleRate = kRate});
        for (int r = 0; r < row.records; ++r) welch.AddRecord(WhiteNoise(static_cast<std::size_t>(row.length), rng));
        const std::vector<double> density = welch.Density();
        const std::size_t eighth = density.size() / kEighths;
        for (std::size_t part = 0; part < kEighths; ++part) {
          const std::size_t first = std::max<std::size_t>(1, part * eighth);
          EXPECT_NEAR(PowerMean(density, first, (part + 1) * eighth), expected, 0.03 * expected)
              << "N " << row.length << ", window " << window << ", correct " << correct << ", eighth " << part;
        }
      }
    }
  }
}

TEST_F(NoiseDensityTest, DensityIntegratesToTheVarianceOfTheRecord) {
  constexpr int kLength = 65536;
  constexpr int kSegment = 4096;
  std::mt19937_64 rng(5);
  const auto signal = WhiteNoise(kLength, rng, 3e-6);
  double mean = 0.0;
  for (const float v : signal) mean += v;
  mean /= kLength;
  double variance = 0.0;
  for (const float v : signal) variance += (v - mean) * (v - mean);
  variance /= kLength;
  for (int window = TmyFFT::kRectangle; window <= TmyFFT::kFlatTop; ++window) {
    WelchDensity welch(fft, {.window = window, .correct = 1, .segmentLength = kSegment, .sampleRate = kRate});
    welch.AddRecord(signal);
    EXPECT_EQ(welch.Segments(), 31) << "segments overlapping by half";
    const auto density = welch.Density();
    const FrequencyRange whole = DensityRange(welch.DeltaF(), welch.Lines());
    const auto band = BandNoiseOf(density, welch.DeltaF(), whole.low, whole.high);
    ASSERT_TRUE(band);
    EXPECT_NEAR(band->rmsVolts * band->rmsVolts, variance, 0.01 * variance) << "window " << window;
  }
}

// A textbook Welch estimate by direct DFT in double: segments of l samples every l/2,
// each without its mean, times a Hann window, |DFT|² averaged, 2/(fs·Σw²).
std::vector<double> DirectWelch(const std::vector<float>& x, int l, double fs) {
  std::vector<double> w(static_cast<std::size_t>(l));
  double energy = 0.0;
  for (int i = 0; i < l; ++i) {
    w[static_cast<std::size_t>(i)] = 0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * (i + 0.5) / l));
    energy += w[static_cast<std::size_t>(i)] * w[static_cast<std::size_t>(i)];
  }
  std::vector<double> power(static_cast<std::size_t>(l / 2), 0.0);
  int segments = 0;
  for (std::size_t start = 0; start + static_cast<std::size_t>(l) <= x.size();
       start += static_cast<std::size_t>(l / 2)) {
    double mean = 0.0;
    for (int i = 0; i < l; ++i) mean += x[start + static_cast<std::size_t>(i)];
    mean /= l;
    for (int k = 1; k < l / 2; ++k) {
      double re = 0.0;
      double im = 0.0;
      for (int i = 0; i < l; ++i) {
        const double v = (x[start + static_cast<std::size_t>(i)] - mean) * w[static_cast<std::size_t>(i)];
        re += v * std::cos(2.0 * std::numbers::pi * k * i / l);
        im -= v * std::sin(2.0 * std::numbers::pi * k * i / l);
      }
      power[static_cast<std::size_t>(k)] += re * re + im * im;
    }
    ++segments;
  }
  for (double& p : power) p = std::sqrt(2.0 * p / (segments * fs * energy));
  return power;
}

TEST_F(NoiseDensityTest, MatchesADirectWelchEstimate) {
  std::mt19937_64 rng(9);
  auto x = WhiteNoise(1000, rng);  // 30 segments of 64; the last 8 samples make no segment
  for (std::size_t i = 0; i < x.size(); ++i) x[i] += static_cast<float>(2e-6 * std::sin(0.3 * i) + 1e-3);
  WelchDensity welch(fft, {.window = TmyFFT::kHanning, .correct = 1, .segmentLength = 64, .sampleRate = 50.0});
  welch.AddRecord(x);
  EXPECT_EQ(welch.Segments(), 30);
  EXPECT_EQ(welch.SegmentsOf(1000), 30);
  EXPECT_DOUBLE_EQ(welch.DeltaF(), 50.0 / 64);
  const auto density = welch.Density();
  const auto direct = DirectWelch(x, 64, 50.0);
  ASSERT_EQ(density.size(), direct.size());
  for (std::size_t k = 1; k < direct.size(); ++k) EXPECT_NEAR(density[k], direct[k], 1e-4 * direct[k]) << "line " << k;
}

TEST_F(NoiseDensityTest, RefusesWhatItCannotMeasure) {
  EXPECT_THROW(WelchDensity(fft, {.segmentLength = 3000, .sampleRate = kRate}), std::invalid_argument);
  EXPECT_THROW(WelchDensity(fft, {.segmentLength = 4096, .sampleRate = 0.0}), std::invalid_argument);
  WelchDensity welch(fft, {.segmentLength = 4096, .sampleRate = kRate});
  EXPECT_THROW(welch.AddRecord(std::vector<float>(4095)), std::invalid_argument);
  EXPECT_EQ(welch.Segments(), 0);
  for (const double d : welch.Density()) ASSERT_EQ(d, 0.0) << "nothing measured, nothing shown";
}

TEST_F(NoiseDensityTest, OneOverFNoiseOfTheSimulatedUnitReadsItsDensityAndBandNoise) {
  constexpr double kNsd = 100e-9;  // V/√Hz at 1 Hz
  constexpr double kFs = 50.0;
  constexpr int kRecord = 65536;
  SignalModel source({{SignalKind::Flicker, 0.0, kNsd}}, 21);
  WelchDensity welch(fft, {.window = TmyFFT::kHanning, .segmentLength = 2048, .sampleRate = kFs});
  std::vector<float> record(kRecord);
  for (int r = 0; r < 2; ++r) {
    for (float& v : record) v = static_cast<float>(source.Next(0.0, kFs));
    welch.AddRecord(record);
  }
  const auto density = welch.Density();
  const auto atOneHertz = SpotDensity(density, welch.DeltaF(), 1.0);
  ASSERT_TRUE(atOneHertz);
  EXPECT_NEAR(*atOneHertz, kNsd, 0.1 * kNsd);
  const auto band = BandNoiseOf(density, welch.DeltaF(), 0.1, 10.0);
  ASSERT_TRUE(band);
  const double expected = kNsd * std::sqrt(std::log(100.0));  // ∫ A²/f df from 0.1 to 10 Hz
  EXPECT_NEAR(band->rmsVolts, expected, 0.1 * expected);
  EXPECT_DOUBLE_EQ(band->ppVolts, 6.6 * band->rmsVolts);
}

TEST(NoiseFigures, BandsAndSpotsWorkedOutByHand) {
  constexpr double kDeltaF = 0.5;
  const std::vector<double> flat(100, 10e-9);  // lines at 0 … 49.5 Hz
  struct Row {
    double f1, f2;
    double rms;  // 0: no band
    int lines;
  };
  const std::vector<Row> rows = {
      {1.0, 3.0, 10e-9 * std::sqrt(2.0), 5},  // half bins at both ends: 0.25 + 3 × 0.5 + 0.25 Hz
      {0.5, 49.5, 10e-9 * 7.0, 99},           // the whole range: 49 Hz
      {2.1, 2.2, 10e-9 * std::sqrt(0.1), 1},  // inside one line's bin
      {0.4, 3.0, 0.0, 0},                     // starts below the lowest line
      {1.0, 49.6, 0.0, 0},                    // ends above the highest
      {3.0, 1.0, 0.0, 0},                     // reversed
      {2.0, 2.0, 0.0, 0},                     // empty
  };
  for (const Row& row : rows) {
    const auto band = BandNoiseOf(flat, kDeltaF, row.f1, row.f2);
    ASSERT_EQ(band.has_value(), row.rms > 0.0) << row.f1 << ":" << row.f2;
    if (!band) continue;
    EXPECT_NEAR(band->rmsVolts, row.rms, 1e-12 * row.rms) << row.f1 << ":" << row.f2;
    EXPECT_EQ(band->lines, row.lines) << row.f1 << ":" << row.f2;
  }

  std::vector<double> oneOverF(100, 0.0);
  for (std::size_t k = 1; k < oneOverF.size(); ++k) oneOverF[k] = 1.0 / std::sqrt(k * kDeltaF);
  EXPECT_NEAR(*SpotDensity(oneOverF, kDeltaF, 20.0), 1.0 / std::sqrt(20.0), 0.003 / std::sqrt(20.0))
      << "a third of an octave around 20 Hz: 18 … 22 Hz";
  EXPECT_DOUBLE_EQ(*SpotDensity(oneOverF, kDeltaF, 1.0), oneOverF[2]) << "one line in the band";
  EXPECT_DOUBLE_EQ(*SpotDensity(oneOverF, kDeltaF, 1.3), oneOverF[3]) << "none in the band: the nearest";
  EXPECT_FALSE(SpotDensity(oneOverF, kDeltaF, 0.4)) << "below the lowest line";
  EXPECT_FALSE(SpotDensity(oneOverF, kDeltaF, 50.0)) << "above the highest line";
}

// RMS averaging through the analysis chain: N spectra of white noise keep the lines'
// mean power and shrink the spread of the line powers by √N; a sine keeps its RMS.
TEST(PowerAverage, ShrinksTheSpreadByRootNAndKeepsTheLevels) {
  constexpr int kN = 4096;
  constexpr int kAveraged = 16;
  constexpr int kSineLine = 500;
  constexpr double kAmplitude = 1e-4;
  FftSetting setting;
  TmyFFT fft(setting);
  auto buffers = std::make_unique<MeasureBuffers>();
  auto work = std::make_unique<AnalysisWork>();
  MeasureData data;
  buffers->Bind(data);
  data.ad_dnum = kN;
  std::mt19937_64 rng(13);
  const auto spectrumOf = [&] {
    const auto noise = WhiteNoise(kN, rng);
    for (int j = 0; j < kN; ++j) {
      data.volt[j] = noise[static_cast<std::size_t>(j)] +
                     static_cast<float>(kAmplitude * std::sin(2.0 * std::numbers::pi * kSineLine * j / kN));
    }
    AnalyseSpectrum(fft, setting, data, *work);
    return std::vector<float>(data.spectrum, data.spectrum + kN / 2);
  };
  // Mean and relative spread of the line powers away from the sine.
  const auto powerStats = [](const std::vector<float>& lines) {
    double sum = 0.0;
    double squares = 0.0;
    int count = 0;
    for (int k = 1; k < kN / 2; ++k) {
      if (std::abs(k - kSineLine) < 4) continue;
      const double p = static_cast<double>(lines[static_cast<std::size_t>(k)]) * lines[static_cast<std::size_t>(k)];
      sum += p;
      squares += p * p;
      ++count;
    }
    const double mean = sum / count;
    return std::pair{mean, std::sqrt(squares / count - mean * mean) / mean};
  };

  const auto single = spectrumOf();
  PowerAverage average;
  average.Add(single);
  for (int i = 1; i < kAveraged; ++i) average.Add(spectrumOf());
  EXPECT_EQ(average.Count(), kAveraged);
  std::vector<float> averaged(kN / 2);
  average.Result(averaged);

  const double singleSpread = powerStats(single).second;
  const auto [averageMean, averageSpread] = powerStats(averaged);
  EXPECT_NEAR(singleSpread / averageSpread, std::sqrt(kAveraged), 0.1 * std::sqrt(kAveraged));
  // A line holds √2·|Y|/N volts, and E|Y|² = σ²·Σw² with Σw² = 3N/8 for Hanning.
  const double expectedPower = 2.0 * kSigma * kSigma * 3.0 / 8.0 / kN;
  EXPECT_NEAR(averageMean, expectedPower, 0.03 * expectedPower) << "power averaging keeps the noise level";
  EXPECT_NEAR(averaged[kSineLine], 0.5 * kAmplitude / std::numbers::sqrt2, 0.02 * kAmplitude)
      << "the sine's line, Hanning without correction: half its RMS value";
  EXPECT_THROW(average.Add(std::vector<float>(10)), std::invalid_argument);
  EXPECT_EQ(average.Count(), kAveraged);
}

// Each average over the same three two-line spectra: a row per fault it would catch.
TEST(LineAverages, FoldTheSpectraAsEachPrescribes) {
  const std::vector<std::vector<float>> spectra = {{1.0F, 4.0F}, {3.0F, 2.0F}, {2.0F, 0.0F}};
  PowerAverage rms;
  PeakHold peak;
  ExponentialAverage longer(8);
  ExponentialAverage two(2);
  ExponentialAverage last(1);
  const struct {
    LineAverage& average;
    std::vector<double> expected;
    const char* why;
  } rows[] = {
      {rms, {std::sqrt(14.0 / 3), std::sqrt(20.0 / 3)}, "the root of the mean square"},
      {peak, {3.0, 4.0}, "each line's largest value, wherever it came"},
      {longer, {std::sqrt(14.0 / 3), std::sqrt(20.0 / 3)}, "fewer spectra than the depth: the plain power mean"},
      {two, {std::sqrt((5.0 + 4.0) / 2), std::sqrt((10.0 + 0.0) / 2)}, "then each new one weighs 1/depth"},
      {last, {2.0, 0.0}, "depth 1 keeps only the last"},
  };
  for (const auto& row : rows) {
    for (const auto& lines : spectra) row.average.Add(lines);
    std::vector<float> result(2, -1.0F);
    row.average.Result(result);
    EXPECT_EQ(row.average.Count(), 3) << row.why;
    EXPECT_NEAR(result[0], row.expected[0], 1e-6) << row.why;
    EXPECT_NEAR(result[1], row.expected[1], 1e-6) << row.why;
    EXPECT_THROW(row.average.Add(std::vector<float>(3)), std::invalid_argument) << row.why;
    EXPECT_THROW(row.average.Result(std::span<float>(result.data(), 1)), std::invalid_argument) << row.why;
  }
  EXPECT_THROW(ExponentialAverage(0), std::invalid_argument);
  std::vector<float> untouched{7.0F};
  PeakHold().Result(untouched);
  EXPECT_EQ(untouched[0], 7.0F) << "nothing before the first spectrum";
}

}  // namespace
