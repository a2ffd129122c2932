// The figures of one measurement, gathered in one record for the window, the
// command-line tool and the pictures: the converter's noise (ConverterNoise.h), the
// histogram of its codes (CodeHistogram.h), its tone (ToneMetrics.h) and its drift
// (AllanDeviation.h); each header defines its fields and their units. All come from
// the codes with the unit's scale (VoltsPerCode) and the record's data rate, so none
// depends on the display settings.
#pragma once

#include <optional>
#include <vector>

#include "analysis/AllanDeviation.h"
#include "analysis/CodeHistogram.h"
#include "analysis/ConverterNoise.h"
#include "analysis/ToneMetrics.h"
#include "model/Records.h"

struct MeasurementFigures {
  ConverterNoise noise;
  CodeHistogram histogram;
  std::optional<ToneMetrics> tone;  // none without a tone clear of the noise, or a record too short
  std::vector<AllanPoint> allan;    // empty when the data rate is unknown
};

// The figures of a record with at least one sample, taken with unit's vref and Gain at
// the record's data rate (data.spsSel). The tone needs an analysable count of at least
// kMinToneSamples samples and, like the Allan deviation, a known rate.
MeasurementFigures FiguresOf(const MeasureData& data, const AdUnitSetting& unit);
// The same with the tone analysers kept by a caller that analyses record after record.
MeasurementFigures FiguresOf(const MeasureData& data, const AdUnitSetting& unit, ToneAnalysers& tones);
