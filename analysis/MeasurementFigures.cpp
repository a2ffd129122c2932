#include "analysis/MeasurementFigures.h"

#include <algorithm>

#include "analysis/Analysis.h"
#include "model/UnitTables.h"

MeasurementFigures FiguresOf(const MeasureData& data, const AdUnitSetting& unit) {
  ToneAnalysers tones;
  return FiguresOf(data, unit, tones);
}

MeasurementFigures FiguresOf(const MeasureData& data, const AdUnitSetting& unit, ToneAnalysers& tones) {
  const std::span<const std::int32_t> codes(data.adCode, static_cast<std::size_t>(std::max(0, data.ad_dnum)));
  const double voltsPerCode = VoltsPerCode(unit);
  const double rate = SamplesPerSecond(static_cast<int>(data.spsSel));
  MeasurementFigures figures;
  figures.noise = ConverterNoiseOf(codes, voltsPerCode);
  figures.histogram = CodeHistogramOf(codes, figures.noise);
  if (rate <= 0.0) return figures;
  if (IsAnalysableCount(data.ad_dnum) && data.ad_dnum >= kMinToneSamples) {
    figures.tone = tones.For(data.ad_dnum).Analyse(codes, figures.noise.meanCode, voltsPerCode, rate);
  }
  figures.allan = AllanDeviationOf(codes, figures.noise.meanCode, voltsPerCode, rate);
  return figures;
}
