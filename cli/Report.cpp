#include "cli/Report.h"

#include <cstring>

#include "analysis/FigureTexts.h"
#include "app/StartTime.h"
#include "cli/Json.h"
#include "cli/Options.h"
#include "ui/NumberFormat.h"
#include "ui/TextHelpers.h"

namespace {

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
  if (noise.band) text += BandNoiseText(*noise.band);
  return text;
}

void ConverterNoiseJson(const ConverterNoise& noise, JsonWriter& w) {
  w.Key("noise").BeginObject();
  w.Key("sigma_codes").Number(noise.sigmaCodes);
  w.Key("sigma_v").Number(noise.sigmaVolts);
  w.Key("pp_codes").Number(noise.ppCodes);
  w.Key("pp_v").Number(noise.ppVolts);
  w.Key("pp_gauss_v").Number(noise.ppGaussVolts);
  w.Key("effective_bits").Number(noise.effectiveBits);
  w.Key("noise_free_bits").Number(noise.noiseFreeBits);
  w.Key("noise_free_counts").Number(noise.noiseFreeCounts);
  w.Key("dynamic_range_db").Number(noise.dynamicRangeDb);
  w.Key("fsr_v").Number(noise.fsrVolts);
  w.EndObject();
}

void ToneJson(const std::optional<ToneMetrics>& tone, JsonWriter& w) {
  w.Key("tone");
  if (!tone) {
    w.Null();
    return;
  }
  w.BeginObject();
  w.Key("frequency_hz").Number(tone->frequencyHz);
  w.Key("vrms").Number(tone->vrms);
  w.Key("snr_db").Number(tone->snrDb);
  w.Key("thd_db").Number(tone->thdDb);
  w.Key("sinad_db").Number(tone->sinadDb);
  w.Key("sfdr_dbc").Number(tone->sfdrDbc);
  w.Key("enob_bits").Number(tone->enobBits);
  w.Key("harmonics").BeginArray();
  for (const Harmonic& h : tone->harmonics) {
    w.BeginObject().Key("order").Integer(h.order).Key("frequency_hz").Number(h.frequencyHz).Key("dbc");
    if (h.dbc) {
      w.Number(*h.dbc);
    } else {
      w.Null();
    }
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

void AllanJson(const std::vector<AllanPoint>& allan, JsonWriter& w) {
  w.Key("allan").BeginArray();
  for (const AllanPoint& p : allan) {
    w.BeginObject().Key("tau_s").Number(p.tauSeconds).Key("adev_v").Number(p.adevVolts);
    w.Key("terms").Integer(p.terms).EndObject();
  }
  w.EndArray();
}

void FiguresJson(const MeasurementReport& report, JsonWriter& w) {
  if (!report.figures) return;
  ConverterNoiseJson(report.figures->noise, w);
  if (report.figuresAsked.tone) ToneJson(report.figures->tone, w);
  if (report.figuresAsked.allan) AllanJson(report.figures->allan, w);
}

std::string FiguresText(const MeasurementReport& report) {
  if (!report.figures) return {};
  std::string text = ConverterNoiseText(report.figures->noise);
  if (report.figuresAsked.tone) text += ToneText(report.figures->tone, report.results.samples);
  if (report.figuresAsked.allan) text += AllanText(report.figures->allan);
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
  FiguresJson(report, w);
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
  text += FiguresText(report);
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
