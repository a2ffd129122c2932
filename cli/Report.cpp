#include "cli/Report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "app/StartTime.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "ui/NumberFormat.h"
#include "ui/TextHelpers.h"

namespace {

// A value in volts (or V/√Hz) with four significant digits in the largest unit that
// keeps it at 1 or more: "213.0 nV", "1.406 µV", "20.41 nV/√Hz".
std::string VoltText(double volts, const char* suffix) {
  struct Prefix {
    double scale;
    const char* name;
  };
  constexpr std::array<Prefix, 5> kPrefixes{{{1.0, ""}, {1e3, "m"}, {1e6, "µ"}, {1e9, "n"}, {1e12, "p"}}};
  constexpr int kSignificant = 4;
  Prefix prefix = kPrefixes.back();
  for (const Prefix& p : kPrefixes) {
    if (std::fabs(volts) * p.scale >= 1.0) {
      prefix = p;
      break;
    }
  }
  const double value = volts * prefix.scale;
  const int integerDigits = value >= 1.0 ? static_cast<int>(std::floor(std::log10(value))) + 1 : 1;
  const int decimals = std::max(0, kSignificant - integerDigits);
  return FormatFixed(value, decimals) + " " + prefix.name + "V" + suffix;
}

std::string HertzText(double hertz) { return FormatRoundTrip(hertz) + " Hz"; }

void NoiseJson(const NoiseResults& noise, JsonWriter& w) {
  w.Key("density").BeginObject();
  for (const SpotDensityValue& spot : noise.spots) w.Key(spot.at.key).Number(spot.voltsPerRootHertz);
  w.Key("delta_f_hz").Number(noise.deltaF);
  w.Key("segment_samples").Integer(noise.segmentLength);
  w.Key("spectra").Integer(noise.spectra);
  w.EndObject();
  if (!noise.band) return;
  const BandNoise& band = *noise.band;
  w.Key("band").BeginObject();
  w.Key("f1").Number(band.f1);
  w.Key("f2").Number(band.f2);
  w.Key("rms_v").Number(band.rmsVolts);
  w.Key("pp_v").Number(band.ppVolts);
  w.Key("lines").Integer(band.lines);
  w.EndObject();
}

std::string NoiseText(const NoiseResults& noise) {
  std::string text = "noise density: " + FormatInteger(noise.spectra) + " spectra of " +
                     FormatInteger(noise.segmentLength) + " samples averaged, line spacing " + HertzText(noise.deltaF) +
                     "\n";
  for (const SpotDensityValue& spot : noise.spots) {
    text += "  at " + HertzText(spot.at.hertz) + ": " + VoltText(spot.voltsPerRootHertz, "/√Hz") + "\n";
  }
  if (noise.band) {
    const BandNoise& band = *noise.band;
    text += "band " + FormatRoundTrip(band.f1) + " to " + HertzText(band.f2) + ": " + VoltText(band.rmsVolts, "") +
            " RMS, " + VoltText(band.ppVolts, "") + " peak-to-peak (" + FormatRoundTrip(kPeakToPeakPerRms) +
            " × RMS), " + FormatInteger(band.lines) + " lines\n";
  }
  return text;
}

}  // namespace

std::string ReasonOf(const WrittenFile& file) {
  switch (file.outcome) {
    case FileOutcome::Written:
      return "";
    case FileOutcome::Declined:
      return "declined";
    case FileOutcome::Failed:
      return file.error != 0 ? std::strerror(file.error) : "failed";
    case FileOutcome::NotRegularFile:
      return "not a regular file";
    case FileOutcome::Interrupted:
      return "interrupted";
  }
  return "";
}

std::string ReportJson(const MeasurementReport& report) {
  const MeasurementResults& r = report.results;
  JsonWriter w;
  w.BeginObject();
  w.Key("samples").Integer(r.samples);
  w.Key("rate_sps").Integer(r.rateSps);
  w.Key("gain").Integer(r.gain);
  w.Key("channel").Integer(r.channel);
  w.Key("filter").String(r.sinc3 ? "sinc3" : "sinc4");
  w.Key("buffer").Bool(r.buffer);
  w.Key("chop").Bool(r.chop);
  w.Key("window").String(WindowName(r.window));
  w.Key("correction").Bool(r.correction);
  w.Key("dc_cut").Bool(r.dcCut);
  w.Key("display").String(r.absolute ? "absolute" : "relative");
  w.Key("axis").String(r.logAxis ? "log" : "linear");
  w.Key("delta_f_hz").Number(r.deltaF);
  w.Key("averages").Integer(report.averages);
  w.Key("rms_v").Number(r.rmsVolts);
  w.Key("rms_text").String(r.rmsText);
  w.Key("rms_unit").String(r.rmsUnit);
  w.Key("peak").BeginObject();
  w.Key("bin").Integer(r.peakBin);
  w.Key("hz").Number(r.peakHz);
  w.Key("v").Number(r.peakVolts);
  w.Key("db").Number(r.peakDb);
  w.Key("level_dbv").Number(r.peakDbv);
  w.Key("text").BeginArray();
  for (const auto& text : r.peakTexts) w.String(text);
  w.EndArray();
  w.Key("unit").String(r.peakUnit);
  w.Key("db_unit").String(r.peakDbUnit);
  w.EndObject();
  w.Key("stats").BeginObject();
  w.Key("code_max").Integer(r.codeMax);
  w.Key("code_min").Integer(r.codeMin);
  w.Key("code_mean").Integer(r.codeMean);
  w.Key("code_pp").Integer(static_cast<std::int64_t>(r.codeMax) - r.codeMin);
  w.Key("deviation_digits").Number(r.deviationDigits);
  w.Key("max_v").Number(r.maxVolts);
  w.Key("min_v").Number(r.minVolts);
  w.Key("mean_v").Number(r.meanVolts);
  w.Key("pp_v").Number(r.ppVolts);
  w.Key("std_v").Number(r.deviationVolts);
  w.Key("text").String(r.statsText);
  w.EndObject();
  w.Key("freq_info").String(r.freqInfo);
  w.Key("unit_info").String(r.unitInfo);
  // ISO 8601 for other tools; the data file's own form beside it.
  if (const auto iso = IsoStartTime(r.start)) {
    w.Key("start").String(*iso);
  } else {
    w.Key("start").Null();
  }
  w.Key("start_text").String(r.start);
  if (report.noise) NoiseJson(*report.noise, w);
  FilesJson(report.files, w);
  w.EndObject();
  return w.Text() + "\n";
}

std::string ReportText(const MeasurementReport& report) {
  const MeasurementResults& r = report.results;
  std::string text;
  if (!r.unitInfo.empty()) text += VisibleText(r.unitInfo) + "\n";
  text += "samples: " + FormatInteger(r.samples) + " at " + r.rateText + ", gain " + FormatInteger(r.gain) +
          ", channel " + FormatInteger(r.channel) + "\n";
  text += r.freqInfo + "\n";
  text += "RMS: " + r.rmsText + " " + r.rmsUnit + "\n";
  text += "peak: " + r.peakTexts[0] + " " + r.peakUnit + ", " + r.peakTexts[1] + " " + r.peakDbUnit + ", " +
          r.peakTexts[2] + " Hz (bin " + FormatInteger(r.peakBin) + ")\n";
  text += r.statsText + "\n";
  if (!r.start.empty()) text += "start: " + VisibleText(r.start) + "\n";
  if (report.averages > 1) text += "spectrum: RMS average of " + FormatInteger(report.averages) + " acquisitions\n";
  if (report.noise) text += NoiseText(*report.noise);
  return text + FilesText(report.files);
}

void FilesJson(const std::vector<WrittenFile>& files, JsonWriter& w) {
  w.Key("files").BeginObject();
  for (const auto& f : files) {
    const bool written = f.outcome == FileOutcome::Written;
    w.Key(f.kind).BeginObject().Key("path").String(f.path).Key("written").Bool(written);
    if (!written) w.Key("reason").String(ReasonOf(f));
    w.EndObject();
  }
  w.EndObject();
}

std::string FilesText(const std::vector<WrittenFile>& files) {
  std::string text;
  for (const auto& f : files) {
    switch (f.outcome) {
      case FileOutcome::Written:
        text += "wrote ";
        break;
      case FileOutcome::Declined:
        text += "kept existing ";
        break;
      default:
        text += "not written (" + ReasonOf(f) + "): ";
        break;
    }
    text += VisibleText(f.path) + "\n";
  }
  return text;
}
