#include "app/AnalysisFigures.h"

#include <functional>
#include <span>

#include "analysis/Analysis.h"
#include "analysis/FigureTexts.h"
#include "analysis/NoiseDensity.h"
#include "app/SessionState.h"
#include "model/TextCatalogue.h"
#include "model/UnitTables.h"
#include "ui/NumberFormat.h"

namespace {

// Decimals of the figures in codes, bits and decibels.
constexpr int kCodeDecimals = 2;
constexpr int kBitDecimals = 2;
constexpr int kDbDecimals = 2;
constexpr int kToneHertzDecimals = 4;

std::string CodesText(double codes) { return FigureText(codes, kCodeDecimals); }
std::string BitsText(double bits) { return FigureText(bits, kBitDecimals) + " bits"; }
std::string DbText(double db, const char* unit) { return FigureText(db, kDbDecimals) + " " + unit; }

// A figure in volts with its value in codes.
FigureRow::Value VoltsAndCodes(double volts, double voltsPerCode) {
  return {VoltText(volts), CodesText(volts / voltsPerCode)};
}

using RowValue = std::function<std::optional<FigureRow::Value>(const RecordAnalysis&)>;

}  // namespace

std::vector<int> SegmentChoices(int samples) {
  std::vector<int> choices{0};
  for (int length = kMinWelchSegment; length < samples; length *= 2) choices.push_back(length);
  return choices;
}

int SegmentLengthFor(int choice, int samples) { return choice <= 0 || choice > samples ? samples : choice; }

std::optional<FrequencyBand> BandOfTexts(std::string_view f1, std::string_view f2) {
  const auto low = ParseDouble(f1);
  const auto high = ParseDouble(f2);
  if (!low || !high || !(*low > 0.0) || !(*high > *low)) return std::nullopt;
  return FrequencyBand{*low, *high};
}

SessionFigures::SessionFigures() : engine_(setting_) {}

std::optional<RecordDensity> SessionFigures::DensityOfRecord(const MeasureData& data, const FftSetting& fft,
                                                             int segmentChoice) {
  const int rate = SamplesPerSecond(static_cast<int>(data.spsSel));
  const int length = SegmentLengthFor(segmentChoice, data.ad_dnum);
  if (rate <= 0 || !IsAnalysableCount(length)) return std::nullopt;
  WelchDensity welch(engine_, DensityOptionsOf(fft, length, rate));
  welch.AddRecord(std::span<const float>(data.volt, static_cast<std::size_t>(data.ad_dnum)));
  return DensityOfWelch(welch);
}

RecordDensity DensityOfWelch(const WelchDensity& welch) {
  RecordDensity density;
  density.segmentLength = 2 * welch.Lines();
  density.segments = welch.Segments();
  density.deltaF = welch.DeltaF();
  density.density = welch.Density();
  density.range = DensityRange(density.deltaF, welch.Lines());
  return density;
}

std::optional<RecordDensity> SessionFigures::CurrentDensity(const SessionState& state, int segmentChoice,
                                                            const WelchDensity* averaged) {
  const int length = SegmentLengthFor(segmentChoice, state.curData.ad_dnum);
  if (averaged && averaged->Segments() > 0 && 2 * averaged->Lines() == length) {
    RecordDensity density = DensityOfWelch(*averaged);
    density.ofSeries = true;
    return density;
  }
  return DensityOfRecord(state.curData, state.fftSetting, segmentChoice);
}

RecordAnalysis SessionFigures::AnalyseRecord(const MeasureData& data, const AdUnitSetting& unit, const FftSetting& fft,
                                             int segmentChoice) {
  RecordAnalysis analysis;
  analysis.samples = data.ad_dnum;
  analysis.voltsPerCode = VoltsPerCode(unit);
  analysis.figures = FiguresOf(data, unit, tones_);
  analysis.density = DensityOfRecord(data, fft, segmentChoice);
  return analysis;
}

std::optional<BandNoise> BandOf(const RecordAnalysis& analysis, const FrequencyBand& band) {
  if (!analysis.density) return std::nullopt;
  return BandNoiseOf(analysis.density->density, analysis.density->deltaF, band.f1, band.f2);
}

SessionAnalysis SessionFigures::AnalyseSession(const SessionState& state, int segmentChoice,
                                               const WelchDensity* averaged) {
  SessionAnalysis analysis;
  if (state.fDataValid && state.curData.HasData()) {
    analysis.current = AnalyseRecord(state.curData, state.measAdSetting, state.fftSetting, segmentChoice);
    if (averaged) analysis.current->density = CurrentDensity(state, segmentChoice, averaged);
  }
  if (state.fRefValid && state.refData.HasData()) {
    analysis.reference = AnalyseRecord(state.refData, state.refAdSetting, state.fftSetting, segmentChoice);
  }
  return analysis;
}

std::vector<FigureRow> FigureRows(const SessionAnalysis& analysis, const FrequencyBand& band) {
  std::vector<FigureRow> rows;
  const auto add = [&](const char* name, std::string detail, const RowValue& value) {
    FigureRow row{name, std::move(detail), {}, {}};
    if (analysis.current) row.current = value(*analysis.current).value_or(FigureRow::Value{});
    if (analysis.reference) row.reference = value(*analysis.reference).value_or(FigureRow::Value{});
    rows.push_back(std::move(row));
  };
  const auto noise = [](const RecordAnalysis& a) -> const ConverterNoise& { return a.figures.noise; };
  add("フルスケール (FSR)", "", [&](const RecordAnalysis& a) {
    return FigureRow::Value{VoltText(noise(a).fsrVolts), FigureText(kCodeCount, 0)};
  });
  add("平均", "", [&](const RecordAnalysis& a) {
    return FigureRow::Value{VoltText((noise(a).meanCode - kCodeZero) * a.voltsPerCode), CodesText(noise(a).meanCode)};
  });
  add("σ (RMS)", "", [&](const RecordAnalysis& a) { return VoltsAndCodes(noise(a).sigmaVolts, a.voltsPerCode); });
  add("ピークツーピーク (実測)", "", [&](const RecordAnalysis& a) {
    return FigureRow::Value{VoltText(noise(a).ppVolts), FigureText(noise(a).ppCodes, 0)};
  });
  add("ピークツーピーク (6.6σ)", "",
      [&](const RecordAnalysis& a) { return VoltsAndCodes(noise(a).ppGaussVolts, a.voltsPerCode); });
  add("実効分解能", "", [&](const RecordAnalysis& a) {
    return FigureRow::Value{BitsText(noise(a).effectiveBits), ""};
  });
  add("ノイズフリー分解能", "", [&](const RecordAnalysis& a) {
    return FigureRow::Value{BitsText(noise(a).noiseFreeBits), FigureText(noise(a).noiseFreeCounts, 0)};
  });
  add("ダイナミックレンジ", "", [&](const RecordAnalysis& a) {
    return FigureRow::Value{DbText(noise(a).dynamicRangeDb, "dB"), ""};
  });
  const std::string bandDetail = FormatRoundTrip(band.f1) + "–" + HertzText(band.f2);
  add("帯域ノイズ RMS", bandDetail, [&](const RecordAnalysis& a) -> std::optional<FigureRow::Value> {
    const auto inBand = BandOf(a, band);
    if (!inBand) return std::nullopt;
    return VoltsAndCodes(inBand->rmsVolts, a.voltsPerCode);
  });
  add("帯域ノイズ p-p (6.6×RMS)", bandDetail, [&](const RecordAnalysis& a) -> std::optional<FigureRow::Value> {
    const auto inBand = BandOf(a, band);
    if (!inBand) return std::nullopt;
    return VoltsAndCodes(inBand->ppVolts, a.voltsPerCode);
  });

  const bool anyTone =
      (analysis.current && analysis.current->figures.tone) || (analysis.reference && analysis.reference->figures.tone);
  if (!anyTone) return rows;
  using Tone = std::optional<FigureRow::Value>;
  const auto tone = [](const RecordAnalysis& a) -> const std::optional<ToneMetrics>& { return a.figures.tone; };
  add("信号周波数", "", [&](const RecordAnalysis& a) -> Tone {
    if (!tone(a)) return std::nullopt;
    return FigureRow::Value{FormatFixed(tone(a)->frequencyHz, kToneHertzDecimals) + " Hz", ""};
  });
  add("信号レベル (RMS)", "", [&](const RecordAnalysis& a) -> Tone {
    if (!tone(a)) return std::nullopt;
    return VoltsAndCodes(tone(a)->vrms, a.voltsPerCode);
  });
  struct Decibels {
    const char* name;
    double ToneMetrics::*field;
    const char* unit;
  };
  constexpr Decibels kDecibels[] = {{"SNR", &ToneMetrics::snrDb, "dB"},
                                    {"THD", &ToneMetrics::thdDb, "dB"},
                                    {"SINAD", &ToneMetrics::sinadDb, "dB"},
                                    {"SFDR", &ToneMetrics::sfdrDbc, "dBc"}};
  for (const Decibels& db : kDecibels) {
    add(db.name, "", [&](const RecordAnalysis& a) -> Tone {
      if (!tone(a)) return std::nullopt;
      return FigureRow::Value{DbText((*tone(a)).*db.field, db.unit), ""};
    });
  }
  add("ENOB", "", [&](const RecordAnalysis& a) -> Tone {
    if (!tone(a)) return std::nullopt;
    return FigureRow::Value{BitsText(tone(a)->enobBits), ""};
  });
  for (int order = 2; order <= kHighestHarmonic; ++order) {
    add("高調波", Localized("%1次", {FormatInteger(order)}), [&](const RecordAnalysis& a) -> Tone {
      if (!tone(a)) return std::nullopt;
      for (const Harmonic& h : tone(a)->harmonics) {
        if (h.order == order) return FigureRow::Value{h.dbc ? DbText(*h.dbc, "dBc") : "—", ""};
      }
      return std::nullopt;
    });
  }
  return rows;
}

std::string FiguresText(const SessionAnalysis& analysis, const FrequencyBand& band) {
  std::string text;
  const auto record = [&](const char* heading, const RecordAnalysis& a) {
    text += std::string(heading) + "\n" + ConverterNoiseText(a.figures.noise);
    if (const auto noise = BandOf(a, band)) text += BandNoiseText(*noise);
    text += ToneText(a.figures.tone, a.samples) + AllanText(a.figures.allan);
  };
  if (analysis.current) record("measurement:", *analysis.current);
  if (analysis.reference) record("reference:", *analysis.reference);
  return text;
}
