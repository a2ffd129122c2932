// What the noise analysis window shows, without widgets: the segment choices, the band
// fields, the analysis of the session's records, the table of figures and the text
// that is copied.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "analysis/Analysis.h"
#include "analysis/FigureTexts.h"
#include "analysis/NoiseDensity.h"
#include "app/AnalysisFigures.h"
#include "app/SessionState.h"

namespace {

constexpr int kSamples = 4096;
constexpr std::uint32_t kRate4800 = 12;

// A record of Gaussian codes of σ codes about 0 V, or a sine of amplitude codes at hertz.
void FillRecord(MeasureData& data, const AdUnitSetting& unit, double sigma, double sineCodes = 0.0,
                double hertz = 0.0) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, sigma);
  data.spsSel = kRate4800;
  data.ad_dnum = kSamples;
  for (int i = 0; i < kSamples; ++i) {
    const double sine = sineCodes * std::sin(2.0 * 3.141592653589793 * hertz * i / 4800.0);
    data.adCode[i] = kCodeZero + static_cast<std::int32_t>(std::lround(noise(random) + sine));
  }
  CodeToVolt(data, unit);
}

TEST(AnalysisFigures, SegmentChoicesAndTheBandFields) {
  EXPECT_EQ(SegmentChoices(1024), (std::vector<int>{0, 256, 512}));
  EXPECT_EQ(SegmentChoices(65536).size(), 9U) << "whole, then 256 … 32768";
  EXPECT_EQ(SegmentChoices(0), (std::vector<int>{0}));
  EXPECT_EQ(SegmentLengthFor(0, 4096), 4096) << "0 is the whole record";
  EXPECT_EQ(SegmentLengthFor(1024, 4096), 1024);
  EXPECT_EQ(SegmentLengthFor(8192, 4096), 4096) << "a reference shorter than the choice is taken whole";

  struct Row {
    const char* f1;
    const char* f2;
    std::optional<FrequencyBand> band;
  } rows[] = {
      {"0.1", "10", FrequencyBand{0.1, 10.0}},
      {"1e-1", "1E3", FrequencyBand{0.1, 1000.0}},
      {"10", "0.1", std::nullopt},  // reversed
      {"5", "5", std::nullopt},     // empty
      {"0", "1", std::nullopt},     // not positive
      {"-1", "1", std::nullopt},
      {"1Hz", "10", std::nullopt},  // not a number as a whole
      {"", "10", std::nullopt},
  };
  for (const Row& r : rows) {
    const auto band = BandOfTexts(r.f1, r.f2);
    ASSERT_EQ(band.has_value(), r.band.has_value()) << r.f1 << " " << r.f2;
    if (!band) continue;
    EXPECT_DOUBLE_EQ(band->f1, r.band->f1);
    EXPECT_DOUBLE_EQ(band->f2, r.band->f2);
  }
}

TEST(AnalysisFigures, TheSessionsRecordsGoTheFiguresAndDensityRoad) {
  SessionState state;
  SessionFigures figures;
  EXPECT_FALSE(figures.AnalyseSession(state, 0).current) << "nothing analysed yet";
  FillRecord(state.curData, state.measAdSetting, 10.0);
  EXPECT_FALSE(figures.AnalyseSession(state, 0).current) << "a record without its flag is not a measurement";
  state.fDataValid = true;

  const SessionAnalysis whole = figures.AnalyseSession(state, 0);
  ASSERT_TRUE(whole.current);
  EXPECT_FALSE(whole.reference);
  const RecordAnalysis& a = *whole.current;
  EXPECT_EQ(a.samples, kSamples);
  EXPECT_NEAR(a.figures.noise.sigmaCodes, 10.0, 0.5);
  EXPECT_FALSE(a.figures.tone) << "noise alone";
  ASSERT_TRUE(a.density);
  EXPECT_EQ(a.density->segmentLength, kSamples);
  EXPECT_EQ(a.density->segments, 1);
  EXPECT_DOUBLE_EQ(a.density->deltaF, 4800.0 / kSamples);

  // The same density as zemtra-cli's road gives for these settings.
  TmyFFT fft(state.fftSetting);
  WelchDensity welch(fft, DensityOptionsOf(state.fftSetting, 1024, 4800.0));
  welch.AddRecord(std::span<const float>(state.curData.volt, kSamples));
  const auto segmented = figures.DensityOfRecord(state.curData, state.fftSetting, 1024);
  ASSERT_TRUE(segmented);
  EXPECT_EQ(segmented->segments, 7);
  EXPECT_EQ(segmented->density, welch.Density());

  const auto band = BandOf(a, {2.0, 100.0});
  ASSERT_TRUE(band);
  const auto direct = BandNoiseOf(a.density->density, a.density->deltaF, 2.0, 100.0);
  EXPECT_DOUBLE_EQ(band->rmsVolts, direct->rmsVolts);
  EXPECT_FALSE(BandOf(a, {0.1, 10.0})) << "0.1 Hz lies below the lowest line of 4096 samples";

  // The kept plans and windows serve records of every length alike.
  FillRecord(state.refData, state.refAdSetting, 3.0);
  state.refData.ad_dnum = 2048;
  state.fRefValid = true;
  const SessionAnalysis again = figures.AnalyseSession(state, 0);
  SessionFigures fresh;
  const SessionAnalysis anew = fresh.AnalyseSession(state, 0);
  ASSERT_TRUE(again.reference && anew.reference);
  EXPECT_EQ(again.current->density->density, a.density->density) << "the same record, the same density";
  EXPECT_EQ(again.reference->density->density, anew.reference->density->density);
  EXPECT_EQ(again.reference->density->segmentLength, 2048);
  EXPECT_DOUBLE_EQ(again.reference->figures.noise.sigmaCodes, anew.reference->figures.noise.sigmaCodes);

  state.measAdSetting.spsSel = kRate4800;
  state.curData.spsSel = 99;  // a rate the unit does not know
  EXPECT_FALSE(figures.AnalyseSession(state, 0).current->density) << "no density without a rate";
}

TEST(AnalysisFigures, ASeriesDensityStandsForTheCurrentRecordOnlyAtItsOwnSegmentLength) {
  SessionState state;
  SessionFigures figures;
  FillRecord(state.curData, state.measAdSetting, 10.0);
  state.fDataValid = true;
  TmyFFT fft(state.fftSetting);
  WelchDensity series(fft, DensityOptionsOf(state.fftSetting, 1024, 4800.0));
  MeasureData& other = state.refData;  // another acquisition (no reference: its flag stays 0)
  FillRecord(other, state.measAdSetting, 30.0);
  series.AddRecord(std::span<const float>(state.curData.volt, kSamples));
  series.AddRecord(std::span<const float>(other.volt, kSamples));

  const SessionAnalysis averaged = figures.AnalyseSession(state, 1024, &series);
  ASSERT_TRUE(averaged.current && averaged.current->density);
  EXPECT_TRUE(averaged.current->density->ofSeries);
  EXPECT_EQ(averaged.current->density->density, series.Density());
  EXPECT_EQ(averaged.current->density->segments, 14);

  for (const int choice : {0, 512}) {  // a segment the series was not averaged with
    const auto own = figures.CurrentDensity(state, choice, &series);
    ASSERT_TRUE(own) << choice;
    EXPECT_FALSE(own->ofSeries) << choice;
    EXPECT_EQ(own->density, figures.DensityOfRecord(state.curData, state.fftSetting, choice)->density) << choice;
  }
}

TEST(AnalysisFigures, TheTableShowsBothRecordsInVoltsAndCodesAndTheToneWhenThereIsOne) {
  SessionState state;
  SessionFigures figures;
  FillRecord(state.curData, state.measAdSetting, 10.0);
  state.fDataValid = true;
  const FrequencyBand band{2.0, 100.0};  // the lowest line of 4096 samples is 1.17 Hz

  const SessionAnalysis alone = figures.AnalyseSession(state, 0);
  const std::vector<FigureRow> rows = FigureRows(alone, band);
  const auto row = [](const std::vector<FigureRow>& table, const std::string& name) {
    const auto it = std::find_if(table.begin(), table.end(), [&](const FigureRow& r) { return name == r.name; });
    return it == table.end() ? nullptr : &*it;
  };
  ASSERT_TRUE(row(rows, "σ (RMS)"));
  const RecordAnalysis& a = *alone.current;
  EXPECT_EQ(row(rows, "σ (RMS)")->current.value, VoltText(a.figures.noise.sigmaVolts));
  EXPECT_EQ(row(rows, "σ (RMS)")->current.codes, FigureText(a.figures.noise.sigmaCodes, 2)) << "the same σ in codes";
  EXPECT_EQ(row(rows, "フルスケール (FSR)")->current.value, "39.06 mV") << "2 × 2.5 V / 128";
  EXPECT_EQ(row(rows, "フルスケール (FSR)")->current.codes, "16777216");
  EXPECT_EQ(row(rows, "帯域ノイズ RMS")->detail, "2–100 Hz");
  EXPECT_EQ(row(rows, "帯域ノイズ RMS")->current.value, VoltText(BandOf(a, band)->rmsVolts));
  EXPECT_TRUE(row(rows, "σ (RMS)")->reference.value.empty()) << "no reference loaded";
  EXPECT_FALSE(row(rows, "SNR")) << "no tone rows for noise alone";

  FillRecord(state.refData, state.refAdSetting, 2.0, 100000.0, 600.0);
  state.fRefValid = true;
  const SessionAnalysis both = figures.AnalyseSession(state, 0);
  ASSERT_TRUE(both.reference && both.reference->figures.tone);
  const std::vector<FigureRow> withTone = FigureRows(both, band);
  ASSERT_TRUE(row(withTone, "信号周波数"));
  EXPECT_EQ(row(withTone, "信号周波数")->reference.value, "600.0000 Hz");
  EXPECT_TRUE(row(withTone, "信号周波数")->current.value.empty()) << "the measurement has no tone";
  EXPECT_FALSE(row(withTone, "σ (RMS)")->reference.value.empty());
  EXPECT_EQ(std::count_if(withTone.begin(), withTone.end(),
                          [](const FigureRow& r) { return r.name == std::string("高調波"); }),
            kHighestHarmonic - 1);

  for (const Harmonic& h : both.reference->figures.tone->harmonics) {
    const auto it = std::find_if(withTone.begin(), withTone.end(), [&](const FigureRow& r) {
      return r.name == std::string("高調波") && r.detail == std::to_string(h.order) + "次";
    });
    ASSERT_NE(it, withTone.end()) << h.order;
    EXPECT_EQ(it->reference.value, h.dbc ? FigureText(*h.dbc, 2) + " dBc" : "—") << "harmonic " << h.order;
  }

  const std::string text = FiguresText(both, band);
  const std::string measured = "measurement:\n" + ConverterNoiseText(a.figures.noise) +
                               BandNoiseText(*BandOf(a, band)) + ToneText(std::nullopt, kSamples) +
                               AllanText(a.figures.allan);
  EXPECT_EQ(text.substr(0, measured.size()), measured) << "zemtra-cli's lines";
  EXPECT_NE(text.find("reference:\nnoise: σ"), std::string::npos);
  EXPECT_NE(text.find("tone: 600.0000 Hz"), std::string::npos);
  EXPECT_EQ(FiguresText({}, band), "");
}

}  // namespace
