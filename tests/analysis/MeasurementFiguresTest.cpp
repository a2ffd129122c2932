// The converter's noise figures, the code histogram, the tone metrics and the Allan
// deviation against independent computations: plain long-double loops over records of
// known codes, tones of known harmonics in white noise, white noise and the 1/f term
// of the simulated unit.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <random>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/MeasurementFigures.h"
#include "drivers/SignalModel.h"

namespace {

constexpr double kRate = 4800.0;
constexpr double kVoltsPerCode = 2.5 / 8388608.0;  // vref 2.5 V, gain 1

using Codes = std::vector<std::int32_t>;

std::int32_t CodeOf(long double volts) {
  return kCodeZero + static_cast<std::int32_t>(std::llround(volts / kVoltsPerCode));
}

Codes Gaussian(std::size_t n, double meanCode, double sigmaCodes, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::normal_distribution<double> normal(meanCode, sigmaCodes);
  Codes codes(n);
  for (auto& c : codes) c = static_cast<std::int32_t>(std::llround(normal(rng)));
  return codes;
}

long double MeanOf(const Codes& codes) {
  long double sum = 0;
  for (const auto c : codes) sum += c;
  return sum / codes.size();
}

long double SigmaOf(const Codes& codes) {
  const long double mean = MeanOf(codes);
  long double sum = 0;
  for (const auto c : codes) sum += (c - mean) * (c - mean);
  return std::sqrt(sum / codes.size());
}

TEST(ConverterNoise, FiguresOfKnownRecordsMatchTheirDefinitions) {
  struct Row {
    const char* what;
    Codes codes;
  };
  Codes ramp(1000);
  for (int i = 0; i < 1000; ++i) ramp[static_cast<std::size_t>(i)] = kCodeZero - 500 + i;
  const std::vector<Row> rows = {
      {"two codes alternating: σ 0.5, 25 effective bits", {kCodeZero, kCodeZero + 1, kCodeZero, kCodeZero + 1}},
      {"a ramp: σ of a uniform spread", ramp},
      {"Gaussian noise of 7.3 codes", Gaussian(8192, kCodeZero + 1234.5, 7.3, 1)},
      {"both ends of the range: p-p and the sums must not overflow", {1, 0xFFFFFE, 1, 0xFFFFFE, 1}},
  };
  for (const Row& row : rows) {
    const ConverterNoise noise = ConverterNoiseOf(row.codes, kVoltsPerCode);
    const long double sigma = SigmaOf(row.codes);
    const auto [lo, hi] = std::minmax_element(row.codes.begin(), row.codes.end());
    const long double fsr = 5.0L;  // 2 · 2.5 V / 1
    EXPECT_NEAR(noise.fsrVolts, fsr, 1e-12) << row.what;
    EXPECT_NEAR(noise.meanCode, MeanOf(row.codes), 1e-9) << row.what;
    EXPECT_NEAR(noise.sigmaCodes, sigma, 1e-9 * sigma) << row.what;
    EXPECT_NEAR(noise.sigmaVolts, sigma * kVoltsPerCode, 1e-9 * sigma * kVoltsPerCode) << row.what;
    EXPECT_EQ(noise.ppCodes, static_cast<double>(*hi - *lo)) << row.what;
    EXPECT_NEAR(noise.ppVolts, (*hi - *lo) * fsr / 16777216.0L, 1e-15) << row.what;
    EXPECT_NEAR(noise.ppGaussVolts, 6.6L * sigma * kVoltsPerCode, 1e-12 * sigma) << row.what;
    const long double sigmaVolts = sigma * fsr / 16777216.0L;
    EXPECT_NEAR(noise.effectiveBits, std::log2(fsr / sigmaVolts), 1e-9) << row.what;
    EXPECT_NEAR(noise.noiseFreeBits, std::log2(fsr / (6.6L * sigmaVolts)), 1e-9) << row.what;
    EXPECT_NEAR(noise.noiseFreeCounts, fsr / (6.6L * sigmaVolts), 1e-9 * noise.noiseFreeCounts) << row.what;
    EXPECT_NEAR(noise.dynamicRangeDb, 20.0L * std::log10(fsr / (2.0L * std::sqrt(2.0L)) / sigmaVolts), 1e-9)
        << row.what;
  }
  EXPECT_NEAR(ConverterNoiseOf(rows[0].codes, kVoltsPerCode).effectiveBits, 25.0, 1e-12);

  const ConverterNoise still = ConverterNoiseOf(Codes(16, kCodeZero), kVoltsPerCode);
  EXPECT_EQ(still.sigmaCodes, 0.0);
  EXPECT_EQ(still.ppCodes, 0.0);
  EXPECT_TRUE(std::isinf(still.effectiveBits) && std::isinf(still.dynamicRangeDb)) << "no noise: no finite limit";
  EXPECT_THROW(ConverterNoiseOf({}, kVoltsPerCode), std::invalid_argument);
}

TEST(CodeHistogram, CountsEveryCodeAndPredictsTheGaussianShare) {
  struct Row {
    const char* what;
    Codes codes;
    std::int64_t binCodes;
  };
  Codes wide = Gaussian(4096, kCodeZero, 3.0, 2);
  wide.push_back(kCodeZero + 200000);  // one outlier widens the range past 65536 codes
  const std::vector<Row> rows = {
      {"Gaussian noise of 4.2 codes", Gaussian(16384, kCodeZero - 77.25, 4.2, 3), 1},
      {"Gaussian noise of 5000 codes: bins far narrower than σ", Gaussian(16384, kCodeZero, 5000.0, 5), 1},
      {"one code only", Codes(10, kCodeZero + 5), 1},
      {"a range of 200000 codes", wide, 4},
  };
  for (const Row& row : rows) {
    const ConverterNoise noise = ConverterNoiseOf(row.codes, kVoltsPerCode);
    const CodeHistogram histogram = CodeHistogramOf(row.codes, noise);
    ASSERT_EQ(histogram.binCodes, row.binCodes) << row.what;
    ASSERT_EQ(histogram.counts.size(), histogram.gauss.size()) << row.what;
    ASSERT_LE(static_cast<std::int64_t>(histogram.counts.size()), kMaxHistogramBins) << row.what;
    std::map<std::int64_t, std::int64_t> expected;
    for (const auto c : row.codes)
      ++expected[histogram.firstCode + (c - histogram.firstCode) / row.binCodes * row.binCodes];
    const long double mean = MeanOf(row.codes);
    const long double sigma = SigmaOf(row.codes);
    for (std::size_t i = 0; i < histogram.counts.size(); ++i) {
      const std::int64_t code = histogram.CodeOf(i);
      EXPECT_EQ(histogram.counts[i], expected.contains(code) ? expected[code] : 0) << row.what << ", code " << code;
      if (sigma == 0) {
        EXPECT_EQ(histogram.gauss[i], static_cast<double>(row.codes.size())) << row.what;
        continue;
      }
      const long double lo = (code - 0.5L - mean) / (sigma * std::sqrt(2.0L));
      const long double hi = (code + row.binCodes - 0.5L - mean) / (sigma * std::sqrt(2.0L));
      const long double share = 0.5L * (std::erfc(-hi) - std::erfc(-lo));
      EXPECT_NEAR(histogram.gauss[i], row.codes.size() * share, 1e-9 * row.codes.size())
          << row.what << ", code " << code;
    }
    EXPECT_EQ(histogram.CodeOf(histogram.counts.size() - 1) + row.binCodes - 1 >= noise.maxCode, true) << row.what;
  }
}

// A sine of amplitude 1 V with harmonics of known level, white noise, quantised to codes.
struct ToneCase {
  const char* what;
  double line;                // the fundamental's frequency in lines
  std::map<int, double> dbc;  // harmonic order → level
};

struct ToneTruth {
  long double snr, thd, sinad, sfdr;
};

TEST(ToneMetrics, SineWithHarmonicsAndNoiseOnAndBetweenLines) {
  constexpr int kN = 16384;
  constexpr double kAmplitude = 1.0;
  constexpr double kNoise = 20e-6;  // V RMS: SNR ≈ 91 dB
  const std::vector<ToneCase> cases = {
      {"on a line", 1000.0, {{2, -80.0}, {3, -90.0}, {5, -100.0}}},
      {"0.37 line off", 1234.37, {{2, -85.0}, {3, -75.0}, {6, -100.0}}},
      {"half a line off", 801.5, {{2, -70.0}, {4, -95.0}}},
      {"harmonics folding back above half the rate", 5000.25, {{2, -80.0}, {3, -80.0}}},
  };
  ToneAnalyser analyser(kN);
  std::mt19937_64 rng(11);
  for (const ToneCase& c : cases) {
    std::normal_distribution<double> normal(0.0, kNoise);
    Codes codes(kN);
    std::vector<long double> clean(kN);
    for (int j = 0; j < kN; ++j) {
      const long double phase = 2.0L * std::numbers::pi_v<long double> * c.line * j / kN;
      long double v = kAmplitude * std::sin(phase);
      for (const auto& [order, dbc] : c.dbc)
        v += kAmplitude * std::pow(10.0L, dbc / 20.0L) * std::sin(order * phase + order);
      clean[static_cast<std::size_t>(j)] = v;
      codes[static_cast<std::size_t>(j)] = CodeOf(v + normal(rng));
    }
    // The truth: the noise is what the codes hold beyond the tone and its harmonics.
    long double noise = 0;
    for (int j = 0; j < kN; ++j) {
      const long double e = (codes[static_cast<std::size_t>(j)] - kCodeZero) * static_cast<long double>(kVoltsPerCode) -
                            clean[static_cast<std::size_t>(j)];
      noise += e * e;
    }
    noise /= kN;
    const long double p1 = kAmplitude * kAmplitude / 2.0L;
    long double harmonics = 0;
    long double largest = 0;
    for (const auto& [order, dbc] : c.dbc) {
      harmonics += p1 * std::pow(10.0L, dbc / 10.0L);
      largest = std::max(largest, p1 * std::pow(10.0L, dbc / 10.0L));
    }
    const auto tone = analyser.Analyse(codes, MeanOf(codes), kVoltsPerCode, kRate);
    ASSERT_TRUE(tone) << c.what;
    const double deltaF = kRate / kN;
    EXPECT_NEAR(tone->frequencyHz, c.line * deltaF, 0.01 * deltaF) << c.what;
    EXPECT_NEAR(20.0 * std::log10(tone->vrms / (kAmplitude / std::sqrt(2.0))), 0.0, 0.01) << c.what;
    EXPECT_NEAR(tone->snrDb, 10.0L * std::log10(p1 / noise), 0.3) << c.what;
    EXPECT_NEAR(tone->thdDb, 10.0L * std::log10(harmonics / p1), 0.3) << c.what;
    EXPECT_NEAR(tone->sinadDb, 10.0L * std::log10(p1 / (noise + harmonics)), 0.3) << c.what;
    EXPECT_NEAR(tone->sfdrDbc, 10.0L * std::log10(p1 / largest), 0.3) << c.what;
    EXPECT_NEAR(tone->enobBits, (tone->sinadDb - 1.76) / 6.02, 1e-12) << c.what;
    ASSERT_EQ(tone->harmonics.size(), 5U) << c.what;
    for (const Harmonic& h : tone->harmonics) {
      const double f = std::fmod(h.order * c.line * deltaF, kRate);
      EXPECT_NEAR(h.frequencyHz, f > kRate / 2 ? kRate - f : f, 0.1 * deltaF) << c.what << ", order " << h.order;
      if (!c.dbc.contains(h.order)) continue;
      ASSERT_TRUE(h.dbc) << c.what << ", order " << h.order;
      EXPECT_NEAR(*h.dbc, c.dbc.at(h.order), 0.3) << c.what << ", order " << h.order;
    }
  }
}

TEST(ToneMetrics, NoToneWhereNoneStandsClearOfTheNoise) {
  constexpr int kN = 16384;
  ToneAnalyser analyser(kN);
  const Codes white = Gaussian(kN, kCodeZero, 50.0, 4);
  EXPECT_FALSE(analyser.Analyse(white, MeanOf(white), kVoltsPerCode, kRate)) << "white noise";

  SignalModel flicker({{SignalKind::Flicker, 0.0, 1e-6}}, 5);
  Codes drift(kN);
  for (auto& c : drift) c = CodeOf(flicker.Next(0.0, kRate));
  EXPECT_FALSE(analyser.Analyse(drift, MeanOf(drift), kVoltsPerCode, kRate)) << "1/f noise rising towards DC";

  EXPECT_THROW(ToneAnalyser(128), std::invalid_argument);
  EXPECT_THROW(ToneAnalyser(1000), std::invalid_argument);
  EXPECT_THROW(analyser.Analyse(Codes(kN / 2, kCodeZero), kCodeZero, kVoltsPerCode, kRate), std::invalid_argument);
}

TEST(ToneMetrics, HarmonicHiddenUnderTheFundamentalHasNoLevel) {
  constexpr int kN = 4096;
  Codes codes(kN);
  for (int j = 0; j < kN; ++j) codes[static_cast<std::size_t>(j)] = CodeOf(0.5 * std::sin(std::numbers::pi * j / 2));
  const auto tone = ToneAnalyser(kN).Analyse(codes, MeanOf(codes), kVoltsPerCode, kRate);
  ASSERT_TRUE(tone);
  EXPECT_NEAR(tone->frequencyHz, kRate / 4, 1e-6);
  EXPECT_FALSE(tone->harmonics[1].dbc) << "the 3rd of rate/4 folds onto the fundamental";
  EXPECT_TRUE(tone->harmonics[0].dbc) << "the 2nd lies at half the rate, free";
}

// The overlapping Allan variance by its definition: means of m samples, differences of
// neighbouring means at every start.
long double AllanDirect(const Codes& codes, std::size_t m) {
  long double sum = 0;
  std::size_t terms = 0;
  for (std::size_t j = 0; j + 2 * m <= codes.size(); ++j, ++terms) {
    long double a = 0;
    long double b = 0;
    for (std::size_t i = 0; i < m; ++i) {
      a += codes[j + i];
      b += codes[j + m + i];
    }
    sum += (b / m - a / m) * (b / m - a / m);
  }
  return std::sqrt(sum / (2 * terms));
}

TEST(AllanDeviation, DefinitionTermsAndWhiteNoise) {
  const Codes shortRecord = Gaussian(20, kCodeZero, 30.0, 6);
  const auto points = AllanDeviationOf(shortRecord, MeanOf(shortRecord), kVoltsPerCode, kRate);
  ASSERT_EQ(points.size(), 3U) << "m = 1, 2, 4 keep at least 8 terms of 20 samples; m = 8 keeps 5";
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::size_t m = std::size_t{1} << i;
    EXPECT_DOUBLE_EQ(points[i].tauSeconds, m / kRate);
    EXPECT_EQ(points[i].terms, static_cast<std::int64_t>(20 - 2 * m + 1));
    const long double direct = AllanDirect(shortRecord, m) * kVoltsPerCode;
    EXPECT_NEAR(points[i].adevVolts, direct, 1e-9 * direct) << "m " << m;
  }
  EXPECT_TRUE(AllanDeviationOf(Codes(8, kCodeZero), kCodeZero, kVoltsPerCode, kRate).empty());

  constexpr std::size_t kN = 65536;
  const Codes white = Gaussian(kN, kCodeZero + 10, 100.0, 7);
  const long double sigma = SigmaOf(white) * kVoltsPerCode;
  const auto adev = AllanDeviationOf(white, MeanOf(white), kVoltsPerCode, kRate);
  ASSERT_EQ(adev.size(), 15U) << "m = 1 … 16384";
  for (std::size_t i = 0; (std::size_t{1} << i) <= kN / 64; ++i) {
    const long double expected = sigma / std::sqrt(static_cast<long double>(std::size_t{1} << i));
    EXPECT_NEAR(adev[i].adevVolts, expected, 0.1 * expected) << "m " << (1 << i);
  }
}

TEST(AllanDeviation, OneOverFNoiseOfTheSimulatedUnitFlattens) {
  constexpr double kNsd = 1e-6;  // V/√Hz at 1 Hz
  constexpr double kFs = 50.0;
  constexpr std::size_t kN = 65536;
  SignalModel source({{SignalKind::Flicker, 0.0, kNsd}}, 8);
  Codes codes(kN);
  for (auto& c : codes) c = CodeOf(source.Next(0.0, kFs));
  const auto adev = AllanDeviationOf(codes, MeanOf(codes), kVoltsPerCode, kFs);
  const double flat = kNsd * std::sqrt(2.0 * std::numbers::ln2);  // the flicker floor
  for (std::size_t i = 4; (std::size_t{1} << i) <= kN / 64; ++i) {
    EXPECT_NEAR(adev[i].adevVolts, flat, 0.1 * flat) << "m " << (1 << i);
  }
}

TEST(MeasurementFigures, GathersTheFiguresOfAMeasuredRecord) {
  auto buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  buffers->Bind(data);
  data.spsSel = 12;  // 4800 per second
  data.ad_dnum = 4096;
  const Codes codes = Gaussian(4096, kCodeZero, 20.0, 9);
  std::copy(codes.begin(), codes.end(), data.adCode);
  AdUnitSetting unit;  // 2.5 V, gain 128
  const MeasurementFigures figures = FiguresOf(data, unit);
  EXPECT_NEAR(figures.noise.fsrVolts, 2.0 * 2.5 / 128, 1e-12);
  EXPECT_NEAR(figures.noise.sigmaCodes, SigmaOf(codes), 1e-9);
  EXPECT_FALSE(figures.histogram.counts.empty());
  EXPECT_FALSE(figures.tone) << "noise alone";
  ASSERT_FALSE(figures.allan.empty());
  EXPECT_DOUBLE_EQ(figures.allan[0].tauSeconds, 1.0 / 4800);

  data.spsSel = 99;  // no known rate: no tone, no drift
  const MeasurementFigures unknownRate = FiguresOf(data, unit);
  EXPECT_TRUE(unknownRate.allan.empty());
  EXPECT_FALSE(unknownRate.tone);
}

}  // namespace
