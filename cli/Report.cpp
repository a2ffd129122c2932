#include "cli/Report.h"

#include "cli/Json.h"
#include "ui/NumberFormat.h"
#include "ui/TextHelpers.h"

const char* ReasonOf(FileOutcome outcome) {
  switch (outcome) {
    case FileOutcome::Written:
      return "";
    case FileOutcome::Declined:
      return "declined";
    case FileOutcome::Failed:
      return "failed";
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
  w.Key("delta_f_hz").Number(r.deltaF);
  w.Key("rms_v").Number(r.rmsVolts);
  w.Key("rms_text").String(r.rmsText);
  w.Key("rms_unit").String(r.rmsUnit);
  w.Key("peak").BeginObject();
  w.Key("bin").Integer(r.peakBin);
  w.Key("hz").Number(r.peakHz);
  w.Key("v").Number(r.peakVolts);
  w.Key("db").Number(r.peakDb);
  w.Key("text").BeginArray();
  for (const auto& text : r.peakTexts) w.String(text);
  w.EndArray();
  w.Key("unit").String(r.peakUnit);
  w.Key("db_unit").String(r.peakDbUnit);
  w.EndObject();
  w.Key("stats").BeginObject();
  w.Key("code_max").Integer(r.codeMax);
  w.Key("code_min").Integer(r.codeMin);
  w.Key("deviation_digits").Number(r.deviationDigits);
  w.Key("text").String(r.statsText);
  w.EndObject();
  w.Key("freq_info").String(r.freqInfo);
  w.Key("unit_info").String(r.unitInfo);
  w.Key("start").String(r.start);
  w.Key("files").BeginObject();
  for (const auto& f : report.files) {
    const bool written = f.outcome == FileOutcome::Written;
    w.Key(f.kind).BeginObject().Key("path").String(f.path).Key("written").Bool(written);
    if (!written) w.Key("reason").String(ReasonOf(f.outcome));
    w.EndObject();
  }
  w.EndObject();
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
  for (const auto& f : report.files) {
    switch (f.outcome) {
      case FileOutcome::Written:
        text += "wrote ";
        break;
      case FileOutcome::Declined:
        text += "kept existing ";
        break;
      default:
        text += std::string("not written (") + ReasonOf(f.outcome) + "): ";
        break;
    }
    text += VisibleText(f.path) + "\n";
  }
  return text;
}
