#include "files/Myfile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "ui/NumberFormat.h"
#include "ui/TextHelpers.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kCommentMark = ';';
constexpr char kSampleSeparator = ',';

// Lines searched for a section's start marker, and lines a section body may hold.
constexpr int kSectionSearchLines = 20;
constexpr int kSectionBodyLines = 100;

// Accepted ranges of the settings.
constexpr std::int32_t kLastRateIndex = 12;
constexpr std::int32_t kLastGainIndex = 5;
constexpr std::int32_t kMinGain = 1;
constexpr std::int32_t kMaxGain = 128;
constexpr std::int32_t kLastChannel = 1;
constexpr std::int32_t kLastFrequencyIndex = 14;
constexpr std::int32_t kLastWindowFunc = 3;
constexpr std::int32_t kLastDataCountSel = 6;
constexpr std::int32_t kMinSamples = 1024;

// Section markers and keys; the keys are the record fields' names with a colon.
namespace marker {
constexpr std::string_view kA = "A:";
constexpr std::string_view kAEnd = "AEND:";
constexpr std::string_view kF = "F:";
constexpr std::string_view kFEnd = "FEND:";
constexpr std::string_view kG = "G:";
constexpr std::string_view kGEnd = "GEND:";
constexpr std::string_view kData = "D:";
constexpr std::string_view kSpectrum = "FFT:";
constexpr std::string_view kEnd = "END:";
}  // namespace marker

namespace key {
constexpr std::string_view spsSel = "spsSel:";
constexpr std::string_view GainSel = "GainSel:";
constexpr std::string_view Gain = "Gain:";
constexpr std::string_view vrefSel = "vrefSel:";
constexpr std::string_view vref = "vref:";
constexpr std::string_view sinc3 = "sinc3:";
constexpr std::string_view buf_on = "buf_on:";
constexpr std::string_view chop_on = "chop_on:";
constexpr std::string_view ch_sel = "ch_sel:";
constexpr std::string_view fSaveDataFile = "fSaveDataFile:";
constexpr std::string_view DataFileName = "DataFileName:";
constexpr std::string_view StartDateTime = "StartDateTime:";
constexpr std::string_view ad_dnum = "ad_dnum:";
constexpr std::string_view deltaF = "deltaF:";
constexpr std::string_view fftnum = "fftnum:";
}  // namespace key

// The G section's flags and integers, in file order, with the range each accepts.
struct GraphFlag {
  std::string_view key;
  std::uint8_t FftSetting::*field;
};
constexpr std::array<GraphFlag, 7> kGraphFlags{{
    {"fWaveGraph:", &FftSetting::fWaveGraph},
    {"fSig_Volt:", &FftSetting::fSig_Volt},
    {"fWinFuncAdjust:", &FftSetting::fWinFuncAdjust},
    {"fDCCut_FFT:", &FftSetting::fDCCut_FFT},
    {"fDCCut_SigGraph:", &FftSetting::fDCCut_SigGraph},
    {"fLogGraph:", &FftSetting::fLogGraph},
    {"fAbsoGraph:", &FftSetting::fAbsoGraph},
}};

struct GraphInt {
  std::string_view key;
  std::int32_t FftSetting::*field;
  std::int32_t lowest;
  std::int32_t highest;
};
// Bounds of the values taken without a range check.
constexpr std::int32_t kNoLowerBound = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kNoUpperBound = std::numeric_limits<std::int32_t>::max();
constexpr std::array<GraphInt, 11> kGraphInts{{
    {"index_FreqS:", &FftSetting::index_FreqS, 0, kLastFrequencyIndex},
    {"index_FreqE:", &FftSetting::index_FreqE, 0, kLastFrequencyIndex},
    {"index_dB_max:", &FftSetting::index_dB_max, kNoLowerBound, kNoUpperBound},
    {"index_dB_min:", &FftSetting::index_dB_min, kNoLowerBound, kNoUpperBound},
    {"whichWindowFunc:", &FftSetting::whichWindowFunc, 0, kLastWindowFunc},
    {"PenColorGraph:", &FftSetting::PenColorGraph, kNoLowerBound, kNoUpperBound},
    {"PenColorMainAxis:", &FftSetting::PenColorMainAxis, kNoLowerBound, kNoUpperBound},
    {"PenColorSubAxis:", &FftSetting::PenColorSubAxis, kNoLowerBound, kNoUpperBound},
    {"PenColorRefGraph:", &FftSetting::PenColorRefGraph, kNoLowerBound, kNoUpperBound},
    {"DataCountSel:", &FftSetting::DataCountSel, kNoLowerBound, kLastDataCountSel},
    {"DataCountMax:", &FftSetting::DataCountMax, kMinSamples, kMaxSamples},
}};

// ---- writing ----

void WriteLine(ByteSink& out, std::string_view text, std::string_view value = {}) {
  out.Append(text);
  out.Append(value);
  out.Append(kLineEnd);
}

std::string_view FlagText(bool set) { return set ? "1" : "0"; }

// A line the reader takes back whole: no line break inside, not over the length limit.
bool FitsOneLine(std::string_view lineKey, std::string_view value) {
  // The reader counts the CR of the line end too.
  return lineKey.size() + value.size() + 1 <= LineReader::kMaxLineBytes &&
         value.find_first_of("\r\n") == std::string_view::npos;
}

// Text values are stored verbatim on one line each, so they must come back as one;
// a header that begins like a comment would be skipped by the reader.
bool IsStorable(std::string_view header, const SaveSetting& save) {
  return !header.empty() && header.front() != kCommentMark && FitsOneLine({}, header) &&
         FitsOneLine(key::DataFileName, save.DataFileName) && FitsOneLine(key::StartDateTime, save.StartDateTime);
}

// A record the data reader accepts again: count and step in range, arrays present,
// every voltage a number.
bool IsStorableMeasure(const MeasureData& data) {
  const bool shape = data.ad_dnum >= kMinSamples && data.ad_dnum <= kMaxSamples && data.deltaF > 0.0F &&
                     std::isfinite(data.deltaF) && data.adCode != nullptr && data.volt != nullptr;
  return shape && std::all_of(data.volt, data.volt + data.ad_dnum, [](float v) { return std::isfinite(v); });
}

// Number of spectrum value lines, or nothing when the record cannot give them.
std::optional<std::int32_t> SpectrumLines(const MeasureData& data) {
  if (data.ad_dnum < 0 || data.ad_dnum > kMaxSamples) return std::nullopt;
  const std::int32_t lines = data.ad_dnum / 2 - 1;
  if (lines > 0 && data.spectrum == nullptr) return std::nullopt;
  return lines > 0 ? lines : 0;
}

// ---- reading ----

struct KeyValue {
  std::string_view key;    // up to and including the first ':', empty without one
  std::string_view value;  // everything after that colon
};

KeyValue SplitKey(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  return {line.substr(0, colon + 1), line.substr(colon + 1)};
}

std::optional<std::int32_t> IntIn(std::string_view text, std::int32_t lowest, std::int32_t highest) {
  const auto value = ParseInt32(text);
  if (!value || *value < lowest || *value > highest) return std::nullopt;
  return value;
}

// A flag written as exactly "0" or "1".
std::optional<std::uint8_t> StrictFlag(std::string_view text) {
  if (text == "0") return 0;
  if (text == "1") return 1;
  return std::nullopt;
}

// A converter switch: any number, on only when it equals 1.
std::optional<std::uint8_t> NumberIsOne(std::string_view text) {
  const auto value = ParseDouble(text);
  if (!value) return std::nullopt;
  return *value == 1.0 ? 1 : 0;
}

template <typename Field, typename Value>
bool Assign(Field& field, const std::optional<Value>& value) {
  if (!value) return false;
  field = static_cast<Field>(*value);
  return true;
}

// Reads lines until the start marker, for at most kSectionSearchLines lines.
bool FindSectionStart(LineReader& in, std::string_view start, std::string& line) {
  for (int i = 0; i < kSectionSearchLines; ++i) {
    if (!TmyFile::ReadLine(in, line)) return false;
    if (line == start) return true;
  }
  return false;
}

enum class AtLimit { Succeed, Fail };

// The frame shared by the three sections: find the start, then hand each body line's
// key and value to apply until the end marker or the line limit.
template <typename ApplyKey>
bool ReadSection(LineReader& in, std::string_view start, std::string_view end, AtLimit atLimit, ApplyKey apply) {
  std::string line;
  if (!FindSectionStart(in, start, line)) return false;
  for (int i = 0; i < kSectionBodyLines; ++i) {
    if (!TmyFile::ReadLine(in, line)) return false;
    if (line == end) return true;
    const auto [lineKey, value] = SplitKey(line);
    if (!apply(lineKey, value)) return false;
  }
  return atLimit == AtLimit::Succeed;
}

bool ApplyAdUnitKey(std::string_view lineKey, std::string_view value, AdUnitSetting& ad) {
  if (lineKey == key::spsSel) return Assign(ad.spsSel, IntIn(value, 0, kLastRateIndex));
  if (lineKey == key::GainSel) return Assign(ad.GainSel, IntIn(value, 0, kLastGainIndex));
  if (lineKey == key::Gain) return Assign(ad.Gain, IntIn(value, kMinGain, kMaxGain));
  if (lineKey == key::sinc3) return Assign(ad.sinc3, NumberIsOne(value));
  if (lineKey == key::buf_on) return Assign(ad.buf_on, NumberIsOne(value));
  if (lineKey == key::chop_on) return Assign(ad.chop_on, NumberIsOne(value));
  if (lineKey == key::ch_sel) return Assign(ad.ch_sel, IntIn(value, 0, kLastChannel));
  return true;  // unknown keys, "vrefSel:" and "vref:" are not read
}

bool ApplySaveKey(std::string_view lineKey, std::string_view value, SaveSetting& save) {
  if (lineKey == key::fSaveDataFile) return Assign(save.fSaveDataFile, StrictFlag(value));
  if (lineKey == key::DataFileName) save.DataFileName.assign(value);
  if (lineKey == key::StartDateTime) save.StartDateTime.assign(value);
  return true;
}

bool ApplyGraphKey(std::string_view lineKey, std::string_view value, FftSetting& fft) {
  for (const auto& flag : kGraphFlags) {
    if (lineKey == flag.key) return Assign(fft.*flag.field, StrictFlag(value));
  }
  for (const auto& entry : kGraphInts) {
    if (lineKey != entry.key) continue;
    const auto number = IntIn(value, entry.lowest, entry.highest);
    // The end index must lie above the start index held at this moment.
    if (number && entry.field == &FftSetting::index_FreqE && *number <= fft.index_FreqS) return false;
    return Assign(fft.*entry.field, number);
  }
  return true;
}

// The frequency range a G section must leave: start below end.
bool HasFrequencyRange(const FftSetting& fft) { return fft.index_FreqS < fft.index_FreqE; }

}  // namespace

TmyFile::TmyFile(Prompter& prompter, FileCalls& calls) : prompter_(prompter), calls_(calls) {}

// ---- settings sections ----

namespace {

// Each section's fields as the file holds them, in file order: the key with its
// colon and the value's text.
std::vector<std::pair<std::string_view, std::string>> AdUnitFields(const AdUnitSetting& ad) {
  return {{key::spsSel, FormatInteger(ad.spsSel)},
          {key::GainSel, FormatInteger(ad.GainSel)},
          {key::Gain, FormatInteger(ad.Gain)},
          {key::vrefSel, FormatInteger(ad.vrefSel)},
          {key::vref, Format0_0(ad.vref)},
          {key::sinc3, std::string(FlagText(ad.sinc3 == 1))},
          {key::buf_on, std::string(FlagText(ad.buf_on == 1))},
          {key::chop_on, std::string(FlagText(ad.chop_on == 1))},
          {key::ch_sel, FormatInteger(ad.ch_sel)}};
}

std::vector<std::pair<std::string_view, std::string>> SaveFields(const SaveSetting& save) {
  return {{key::fSaveDataFile, std::string(FlagText(save.fSaveDataFile != 0))},
          {key::DataFileName, save.DataFileName},
          {key::StartDateTime, save.StartDateTime}};
}

std::vector<std::pair<std::string_view, std::string>> GraphFields(const FftSetting& fft) {
  std::vector<std::pair<std::string_view, std::string>> fields;
  for (const auto& flag : kGraphFlags) fields.emplace_back(flag.key, FlagText(fft.*flag.field != 0));
  for (const auto& entry : kGraphInts) fields.emplace_back(entry.key, FormatInteger(fft.*entry.field));
  return fields;
}

// True when the reader would take the A and G sections back: every value as written
// passes the reader's own check, in file order, and the frequency range is not empty.
// (The F section's values always read back once IsStorable holds.)
bool SettingsReadBack(const AdUnitSetting& ad, const FftSetting& fft) {
  AdUnitSetting adBack = ad;
  FftSetting fftBack = fft;
  const auto adOk = std::ranges::all_of(
      AdUnitFields(ad), [&adBack](const auto& field) { return ApplyAdUnitKey(field.first, field.second, adBack); });
  const auto fftOk = std::ranges::all_of(
      GraphFields(fft), [&fftBack](const auto& field) { return ApplyGraphKey(field.first, field.second, fftBack); });
  return adOk && fftOk && HasFrequencyRange(fftBack);
}

bool WriteSection(ByteSink& out, std::string_view start, std::string_view end,
                  const std::vector<std::pair<std::string_view, std::string>>& fields) {
  WriteLine(out, start);
  for (const auto& [lineKey, value] : fields) WriteLine(out, lineKey, value);
  WriteLine(out, end);
  return out.Good();
}

}  // namespace

bool TmyFile::WriteAdUnitSection(ByteSink& out, const AdUnitSetting& ad) {
  return WriteSection(out, marker::kA, marker::kAEnd, AdUnitFields(ad));
}

bool TmyFile::WriteSaveSection(ByteSink& out, const SaveSetting& save) {
  return WriteSection(out, marker::kF, marker::kFEnd, SaveFields(save));
}

bool TmyFile::WriteGraphSection(ByteSink& out, const FftSetting& fft) {
  return WriteSection(out, marker::kG, marker::kGEnd, GraphFields(fft));
}

std::vector<SettingField> TmyFile::SettingFields(const AdUnitSetting& ad, const SaveSetting& save,
                                                 const FftSetting& fft) {
  std::vector<SettingField> all;
  for (const auto& section : {AdUnitFields(ad), SaveFields(save), GraphFields(fft)}) {
    for (const auto& [lineKey, value] : section) {
      all.push_back({std::string(lineKey.substr(0, lineKey.size() - 1)), value});  // without the colon
    }
  }
  return all;
}

bool TmyFile::ReadLine(LineReader& in, std::string& text) {
  while (in.Next(text)) {
    if (!text.empty() && text.front() == kCommentMark) continue;
    RemoveCrLf(text);
    return true;
  }
  return false;
}

bool TmyFile::ReadAdUnitSection(LineReader& in, AdUnitSetting& ad) {
  return ReadSection(in, marker::kA, marker::kAEnd, AtLimit::Succeed, [&ad](auto lineKey, auto value) {
    if (!ApplyAdUnitKey(lineKey, value, ad)) return false;
    // The reference is fixed: whatever the file says, it is index 0 at 2.5 V.
    const AdUnitSetting defaults;
    ad.vrefSel = defaults.vrefSel;
    ad.vref = defaults.vref;
    return true;
  });
}

bool TmyFile::ReadSaveSection(LineReader& in, SaveSetting& save) {
  return ReadSection(in, marker::kF, marker::kFEnd, AtLimit::Succeed,
                     [&save](auto lineKey, auto value) { return ApplySaveKey(lineKey, value, save); });
}

bool TmyFile::ReadGraphSection(LineReader& in, FftSetting& fft) {
  const bool read = ReadSection(in, marker::kG, marker::kGEnd, AtLimit::Fail,
                                [&fft](auto lineKey, auto value) { return ApplyGraphKey(lineKey, value, fft); });
  // A start given after the end can still leave the range empty or reversed.
  return read && HasFrequencyRange(fft);
}

// ---- settings file ----

bool TmyFile::IsStorableFileName(std::string_view name) { return FitsOneLine(key::DataFileName, name); }

bool TmyFile::SaveSettingFile(const std::filesystem::path& fileName, std::string_view header, const FftSetting& fft,
                              const SaveSetting& save, const AdUnitSetting& ad) const {
  if (fileName.empty() || !IsStorable(header, save) || !SettingsReadBack(ad, fft)) return false;
  return WriteFile(fileName, header, ad, save, fft, [](AtomicFile& out) { return out.Good(); });
}

namespace {

std::string LineText(int number) { return "line " + std::to_string(number); }

// The physical line `number` of the file, without its line end; empty when it is gone.
std::string PhysicalLine(const std::filesystem::path& fileName, int number) {
  LineReader again(fileName);
  std::string line;
  while (again.Next(line) && again.LineNumber() < number) {
  }
  RemoveCrLf(line);
  return again.LineNumber() == number ? line : std::string();
}

}  // namespace

void TmyFile::NoteReadProblem(const LineReader& in, const std::filesystem::path& fileName, std::string_view header,
                              bool headerRead) const {
  if (readProblem_ = in.Problem(); !readProblem_.empty()) return;
  const int number = in.LineNumber();
  if (in.state() == LineReader::State::End) {
    readProblem_ = number == 0 ? "the file is empty" : "the file ends after " + LineText(number) + " before it is complete";
    return;
  }
  const std::string text = PhysicalLine(fileName, number);
  const std::string shown = "\"" + VisibleText(text) + "\"";
  if (!headerRead) {
    readProblem_ = LineText(number) + ": the header is " + shown + ", not \"" + std::string(header) + "\"";
  } else if (text == marker::kGEnd) {
    // The only check made at the end of the G section.
    readProblem_ = LineText(number) + ": index_FreqS is not below index_FreqE";
  } else if (const auto [lineKey, value] = SplitKey(text); lineKey.size() > 1) {
    readProblem_ = LineText(number) + ": the value of " + std::string(lineKey.substr(0, lineKey.size() - 1)) +
                   " is not valid: \"" + VisibleText(std::string(value)) + "\"";
  } else {
    readProblem_ = LineText(number) + " is not valid: " + shown;
  }
}

std::string TmyFile::KeyProblem(const std::filesystem::path& fileName, std::string_view key, std::string_view why) {
  LineReader in(fileName);
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (ReadLine(in, line)) {
    if (line.rfind(prefix, 0) == 0) return LineText(in.LineNumber()) + ": " + VisibleText(line) + " " + std::string(why);
  }
  return std::string(key) + " " + std::string(why);
}

bool TmyFile::LoadSettingFile(const std::filesystem::path& fileName, std::string_view header, FftSetting& fft,
                              SaveSetting& save, AdUnitSetting& ad) const {
  readProblem_.clear();
  if (fileName.empty() || header.empty()) return false;
  LineReader in(fileName);
  FftSetting fftCopy = fft;
  SaveSetting saveCopy = save;
  AdUnitSetting adCopy = ad;
  std::string line;
  const bool headerRead = in.IsOpen() && ReadLine(in, line) && line == header;
  const bool valid =
      headerRead && ReadAdUnitSection(in, adCopy) && ReadSaveSection(in, saveCopy) && ReadGraphSection(in, fftCopy);
  if (!valid) {
    NoteReadProblem(in, fileName, header, headerRead);
    return false;
  }
  fft = fftCopy;
  save = std::move(saveCopy);
  ad = adCopy;
  return true;
}

// ---- data file ----

bool TmyFile::WriteDataSection(ByteSink& out, const MeasureData& data) {
  if (!IsStorableMeasure(data)) return false;
  WriteLine(out, marker::kData);
  WriteLine(out, key::ad_dnum, FormatInteger(data.ad_dnum));
  WriteLine(out, key::deltaF, FormatGeneral(data.deltaF));
  // A sample line: code, comma, volts, CR LF; formatted in place, as there are many.
  constexpr std::size_t kMaxCodeChars = 11;  // "-2147483648"
  std::array<char, kMaxCodeChars + 1 + kGeneralMaxChars + kLineEnd.size()> line{};
  for (std::int32_t i = 0; i < data.ad_dnum; ++i) {
    char* end = std::to_chars(line.data(), line.data() + kMaxCodeChars, data.adCode[i]).ptr;
    *end++ = kSampleSeparator;
    end = FormatGeneralTo(end, data.volt[i]);
    end = std::copy(kLineEnd.begin(), kLineEnd.end(), end);
    out.Append(std::string_view(line.data(), static_cast<std::size_t>(end - line.data())));
  }
  WriteLine(out, marker::kEnd);
  return out.Good();
}

bool TmyFile::ReadDataSection(LineReader& in, MeasureData& data) {
  if (data.adCode == nullptr || data.volt == nullptr) return false;
  std::string line;
  if (!ReadLine(in, line) || line != marker::kData) return false;

  if (!ReadLine(in, line)) return false;
  const auto count = SplitKey(line);
  const auto samples = count.key == key::ad_dnum ? IntIn(count.value, kMinSamples, kMaxSamples) : std::nullopt;
  if (!samples) return false;
  data.ad_dnum = *samples;

  if (!ReadLine(in, line)) return false;
  const auto step = SplitKey(line);
  const auto deltaF = step.key == key::deltaF ? ParseFloat32(step.value) : std::nullopt;
  if (!deltaF || !(*deltaF > 0.0F)) return false;
  data.deltaF = *deltaF;

  for (std::int32_t i = 0; i < data.ad_dnum; ++i) {
    if (!ReadLine(in, line)) return false;
    const std::string_view text(line);
    const auto comma = text.find(kSampleSeparator);
    if (comma == std::string_view::npos) return false;
    const auto code = ParseInt32(text.substr(0, comma));
    const auto volt = ParseFloat32(text.substr(comma + 1));
    if (!code || !volt) return false;
    data.adCode[i] = *code;
    data.volt[i] = *volt;
  }
  return true;
}

WriteResult TmyFile::SaveDataFile(std::string_view header, const AdUnitSetting& ad, const MeasureData& data,
                                  const FftSetting& fft, const SaveSetting& save) const {
  if (save.DataFileName.empty() || !IsStorable(header, save) || !SettingsReadBack(ad, fft) ||
      !IsStorableMeasure(data)) {
    return WriteResult::Failed;
  }
  return WriteAsked(save.DataFileName, header, ad, save, fft,
                    [&data](AtomicFile& out) { return WriteDataSection(out, data); });
}

bool TmyFile::LoadDataFile(const std::filesystem::path& fileName, std::string_view header, MeasureData& data,
                           FftSetting& fft, SaveSetting& save, AdUnitSetting& ad) const {
  readProblem_.clear();
  if (fileName.empty() || header.empty()) return false;
  LineReader in(fileName);
  std::string line;
  const bool headerRead = in.IsOpen() && ReadLine(in, line) && line == header;
  if (headerRead && ReadAdUnitSection(in, ad) && ReadSaveSection(in, save) && ReadGraphSection(in, fft) &&
      ReadDataSection(in, data)) {
    return true;
  }
  NoteReadProblem(in, fileName, header, headerRead);
  return false;
}

// ---- spectrum file ----

std::string TmyFile::SpectrumAverageComment(const SpectrumAverage& average) {
  const std::string spectra = FormatInteger(average.spectra) + " acquisitions";
  switch (average.kind) {
    case SpectrumAveraging::None:
      break;
    case SpectrumAveraging::Rms:
      return "spectrum: RMS average of " + spectra;
    case SpectrumAveraging::PeakHold:
      return "spectrum: peak hold of " + spectra;
    case SpectrumAveraging::Exponential:
      return "spectrum: exponential average over the last " + FormatInteger(average.depth) + " of " + spectra;
  }
  return {};
}

bool TmyFile::WriteSpectrumSection(ByteSink& out, const MeasureData& data, const SpectrumAverage& average) {
  const auto lines = SpectrumLines(data);
  if (!lines) return false;
  if (average.kind != SpectrumAveraging::None) {
    WriteLine(out, std::string_view(&kCommentMark, 1), SpectrumAverageComment(average));
  }
  WriteLine(out, marker::kSpectrum);
  WriteLine(out, key::fftnum, FormatInteger(data.ad_dnum / 2));
  WriteLine(out, key::deltaF, FormatGeneral(data.deltaF));
  const double step = data.deltaF;  // widened exactly; bin × step is exact in double
  for (std::int32_t bin = 1; bin <= *lines; ++bin) {
    out.Append(Format0_000(bin * step));
    out.Append("Hz, ");
    WriteLine(out, FormatGeneral(data.spectrum[bin]));
  }
  WriteLine(out, marker::kEnd);
  return out.Good();
}

WriteResult TmyFile::SaveFftFile(std::string_view header, const AdUnitSetting& ad, const MeasureData& data,
                                 const FftSetting& fft, const SaveSetting& save, const SpectrumAverage& average) const {
  if (save.DataFileName.empty() || !IsStorable(header, save) || !SpectrumLines(data)) return WriteResult::Failed;
  return WriteAsked(save.DataFileName, header, ad, save, fft,
                    [&data, &average](AtomicFile& out) { return WriteSpectrumSection(out, data, average); });
}

namespace {

// Header, sections A, F, G, then the body.
// Sink: an AtomicFile for the files, a StringSink for a text in memory.
template <typename Sink, typename Body>
std::function<bool(Sink&)> WholeFile(std::string_view header, const AdUnitSetting& ad, const SaveSetting& save,
                                     const FftSetting& fft, const Body& writeBody) {
  return [=, &ad, &save, &fft, &writeBody](Sink& out) {
    WriteLine(out, header);
    return TmyFile::WriteAdUnitSection(out, ad) && TmyFile::WriteSaveSection(out, save) &&
           TmyFile::WriteGraphSection(out, fft) && writeBody(out);
  };
}

}  // namespace

std::optional<std::string> TmyFile::FftFileText(std::string_view header, const AdUnitSetting& ad,
                                                const MeasureData& data, const FftSetting& fft,
                                                const SaveSetting& save, const SpectrumAverage& average) {
  if (!IsStorable(header, save) || !SpectrumLines(data)) return std::nullopt;
  StringSink text;
  const auto body = [&data, &average](ByteSink& out) { return WriteSpectrumSection(out, data, average); };
  if (!WholeFile<StringSink>(header, ad, save, fft, body)(text)) return std::nullopt;
  return std::move(text.Text());
}

bool TmyFile::WriteFile(const std::filesystem::path& target, std::string_view header, const AdUnitSetting& ad,
                        const SaveSetting& save, const FftSetting& fft,
                        const std::function<bool(AtomicFile&)>& writeBody) const {
  return WriteWhole(target, calls_, WholeFile<AtomicFile>(header, ad, save, fft, writeBody));
}

WriteResult TmyFile::WriteAsked(const std::filesystem::path& target, std::string_view header, const AdUnitSetting& ad,
                                const SaveSetting& save, const FftSetting& fft,
                                const std::function<bool(AtomicFile&)>& writeBody) const {
  return WriteAsking(target, prompter_, calls_, WholeFile<AtomicFile>(header, ad, save, fft, writeBody));
}
