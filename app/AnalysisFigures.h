// What the noise analysis window shows of the session, computed without widgets: the
// figures record of a measurement (analysis/MeasurementFigures.h), its noise density
// by Welch's method with the window, correction and mean removal of the display
// settings (analysis/NoiseDensity.h), the noise in the band the user chose
// (analysis/NoiseFigures.h), the table of figures and the text copied from it. The
// units are those of the records these come from: volts, codes, hertz, V/√Hz.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/MeasurementFigures.h"
#include "analysis/Myfft.h"
#include "analysis/NoiseDensity.h"
#include "analysis/NoiseFigures.h"
#include "model/Records.h"

class SessionState;

// What the user chose in the window.
struct DensityChoice {
  int segmentLength = 0;                   // Welch's segment in samples; 0: the whole record
  FrequencyBand band = kDefaultNoiseBand;  // Hz
};

// The Welch segment lengths offered for records of at most `samples` samples: 0 (the
// whole record) first, then the powers of two from kMinWelchSegment below `samples`.
std::vector<int> SegmentChoices(int samples);
// The segment taken for a record of `samples`: the choice, or the whole record when
// the choice is 0 or longer than the record.
int SegmentLengthFor(int choice, int samples);
// The band two fields give: both numbers as a whole, 0 < f1 < f2; none otherwise.
std::optional<FrequencyBand> BandOfTexts(std::string_view f1, std::string_view f2);

struct RecordDensity {
  int segmentLength = 0;
  int segments = 0;             // segments averaged
  double deltaF = 0.0;          // Hz between lines
  std::vector<double> density;  // V/√Hz per line, line 0 the mean's share
  FrequencyRange range;         // the lines above DC, Hz
  bool ofSeries = false;        // averaged over a series' acquisitions, not the record's own
};
// The density Welch's method has averaged so far.
RecordDensity DensityOfWelch(const WelchDensity& welch);

// The analysis of one record: its figures, and its density when its rate is known.
struct RecordAnalysis {
  int samples = 0;
  double voltsPerCode = 0.0;
  MeasurementFigures figures;
  std::optional<RecordDensity> density;
};

// The window's view of the session: the current measurement and the reference, each
// when its record holds an analysed measurement.
struct SessionAnalysis {
  std::optional<RecordAnalysis> current;
  std::optional<RecordAnalysis> reference;
};

// The analyses, with the transforms' plans and windows kept from one record to the
// next (built once per length, not per update).
class SessionFigures {
 public:
  SessionFigures();
  SessionFigures(const SessionFigures&) = delete;
  SessionFigures& operator=(const SessionFigures&) = delete;

  // The analysis of a record with samples, taken with unit's scale at its rate.
  RecordAnalysis AnalyseRecord(const MeasureData& data, const AdUnitSetting& unit, const FftSetting& fft,
                               int segmentChoice);
  // The density again for another segment choice (the figures do not depend on it);
  // none when the rate is unknown.
  std::optional<RecordDensity> DensityOfRecord(const MeasureData& data, const FftSetting& fft, int segmentChoice);
  // averaged: the density of the series of acquisitions that left the current
  // measurement (MeasurementSession::AveragedDensity), shown instead of the last
  // acquisition's when it has the segment length chosen; null without a series.
  SessionAnalysis AnalyseSession(const SessionState& state, int segmentChoice,
                                 const WelchDensity* averaged = nullptr);
  // The current record's density for a segment choice: the series' average when it
  // has that segment length, else the record's own.
  std::optional<RecordDensity> CurrentDensity(const SessionState& state, int segmentChoice,
                                              const WelchDensity* averaged);

 private:
  FftSetting setting_;  // the engine keeps a reference; its operations take their settings as arguments
  TmyFFT engine_;
  ToneAnalysers tones_;
};

// The noise in the band; none without a density or when the band leaves its range.
std::optional<BandNoise> BandOf(const RecordAnalysis& analysis, const FrequencyBand& band);

// One row of the table: the name of the figure (the window's source text), a detail
// after it (the band's frequencies) and the value of each record, in its unit and in
// codes where the figure has codes; empty where the record has no such figure.
struct FigureRow {
  const char* name = "";
  std::string detail;
  struct Value {
    std::string value;
    std::string codes;
  };
  Value current;
  Value reference;
};
// The noise figures of both records with the band noise, then the tone metrics of
// those that have a tone.
std::vector<FigureRow> FigureRows(const SessionAnalysis& analysis, const FrequencyBand& band);

// The figures as zemtra-cli states them, for the clipboard: for each record present a
// heading line ("measurement:", "reference:"), then its noise, band noise, tone and
// Allan deviation lines.
std::string FiguresText(const SessionAnalysis& analysis, const FrequencyBand& band);
