// TmyFile: reads and writes the settings file (*.prf), the measurement data file
// (*.DTA) and the spectrum text file (*.FFT). All three are line-based text with
// CR LF line ends (LF alone is read the same), share the settings sections A
// (converter), F (data-save) and G (measurement and display), and keep text values
// as the exact bytes read. Every operation opens, reads or writes, and closes its
// file before returning; nothing is shown to the user except the overwrite question
// of the data and spectrum writers. Writers replace the target whole or not at all.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/AskedWrite.h"
#include "files/AtomicFile.h"
#include "files/ByteSink.h"
#include "files/LineReader.h"
#include "model/Records.h"
#include "ui/Prompter.h"

// Header lines the callers pass.
inline constexpr std::string_view kSettingFileHeader = "Zemtraini";
inline constexpr std::string_view kDataFileHeader = "DataFile:Zemtra";
inline constexpr std::string_view kFftFileHeader = "DataFile:Zemtra_FFT";

// One settings field: its key (the record field's name) and the text the settings
// file holds for its value.
struct SettingField {
  std::string key;
  std::string value;
};

class TmyFile {
 public:
  // The prompter asks the overwrite question; the file calls are the seam through
  // which tests make writing fail.
  explicit TmyFile(Prompter& prompter, FileCalls& calls = SystemFileCalls());

  // Settings file: the header line and sections A, F, G. False when the name is empty,
  // the header or a text value would not read back as one line (empty header, a header
  // beginning with the comment mark ';', a line break, over LineReader::kMaxLineBytes),
  // a setting would not pass the reader's checks (a value out of its range, start
  // frequency index not below the end index), or the file cannot be written
  // completely; an existing file then stays as it was.
  bool SaveSettingFile(const std::filesystem::path& fileName, std::string_view header, const FftSetting& fft,
                       const SaveSetting& save, const AdUnitSetting& ad) const;
  // Whether a data file name can be stored as DataFileName: it reads back as one line
  // (no line break, not over LineReader::kMaxLineBytes with its key).
  static bool IsStorableFileName(std::string_view name);
  // Reads into working copies and replaces the three records only when the whole
  // file is valid; false and the records untouched otherwise.
  bool LoadSettingFile(const std::filesystem::path& fileName, std::string_view header, FftSetting& fft,
                       SaveSetting& save, AdUnitSetting& ad) const;

  // Why the last LoadSettingFile or LoadDataFile that failed refused its file, for the
  // user: the system's reason ("No such file or directory"), "not a regular file", or
  // the first line that is not valid, with its number and key ("line 36: the value
  // of DataCountMax is not valid: \"1000\""); empty after a load that succeeded.
  const std::string& ReadProblem() const { return readProblem_; }
  // "line N: KEY:VALUE why" for the first line of the file that holds KEY (given
  // without its colon), or "KEY why" when none does: for the checks callers make
  // after a load.
  static std::string KeyProblem(const std::filesystem::path& fileName, std::string_view key, std::string_view why);

  // One settings section each; false once the file has failed to take a byte.
  static bool WriteAdUnitSection(ByteSink& out, const AdUnitSetting& ad);
  static bool WriteSaveSection(ByteSink& out, const SaveSetting& save);
  static bool WriteGraphSection(ByteSink& out, const FftSetting& fft);
  // Every field of the three sections, in file order, as the writers write them.
  static std::vector<SettingField> SettingFields(const AdUnitSetting& ad, const SaveSetting& save,
                                                 const FftSetting& fft);
  // One settings section each into the record; false on any format error (the record
  // may then be partly changed).
  static bool ReadAdUnitSection(LineReader& in, AdUnitSetting& ad);
  static bool ReadSaveSection(LineReader& in, SaveSetting& save);
  static bool ReadGraphSection(LineReader& in, FftSetting& fft);

  // The next meaningful line: comment lines (first byte ';') are skipped, every CR
  // and LF is removed, a blank line comes back empty. False at the end of the file
  // or when the file cannot be read further.
  static bool ReadLine(LineReader& in, std::string& text);

  // Data file to save.DataFileName, which the F section records as well. Asks before
  // replacing an existing file; a declined overwrite writes nothing. Failed, before
  // asking, when the target is empty, the header or a text value would not read
  // back as one line, a setting would not read back (as for SaveSettingFile), or the
  // record would not read back (count outside 1024..65536, step not above 0, missing
  // arrays, a voltage that is not a finite number); Failed after asking when the file
  // cannot be written completely (an existing file then stays as it was).
  WriteResult SaveDataFile(std::string_view header, const AdUnitSetting& ad, const MeasureData& data,
                           const FftSetting& fft, const SaveSetting& save) const;
  // Reads the settings sections and the samples into the records it is given, as it
  // goes; callers pass working copies and adopt them only on true. The arrays of data
  // must hold kMaxSamples values each.
  bool LoadDataFile(const std::filesystem::path& fileName, std::string_view header, MeasureData& data, FftSetting& fft,
                    SaveSetting& save, AdUnitSetting& ad) const;
  // Lines "D:" to "END:": count, frequency step, one "code,volts" line per sample.
  static bool WriteDataSection(ByteSink& out, const MeasureData& data);
  // Lines "D:" to the last sample line; false on any format error.
  static bool ReadDataSection(LineReader& in, MeasureData& data);

  // Spectrum text file to save.DataFileName, with the same overwrite question. Failed
  // when the target, header or a text value is unusable as for SaveDataFile, the record
  // holds a negative or too large count or no spectrum, or the file cannot be written
  // completely.
  // A spectrum averaged over several acquisitions (`average` not None) says so in a
  // comment line before "FFT:" (SpectrumAverageComment), which every reader of the
  // format skips.
  WriteResult SaveFftFile(std::string_view header, const AdUnitSetting& ad, const MeasureData& data,
                          const FftSetting& fft, const SaveSetting& save, const SpectrumAverage& average = {}) const;
  // Lines "FFT:" to "END:": bin count, frequency step, "f.fffHz, value" for bins
  // 1 .. ad_dnum/2 - 1; the average's comment line first.
  static bool WriteSpectrumSection(ByteSink& out, const MeasureData& data, const SpectrumAverage& average = {});
  // The bytes SaveFftFile would write, for the standard output; none where it would
  // fail before writing.
  static std::optional<std::string> FftFileText(std::string_view header, const AdUnitSetting& ad,
                                                const MeasureData& data, const FftSetting& fft, const SaveSetting& save,
                                                const SpectrumAverage& average = {});
  // The comment's text (without ';'): "spectrum: RMS average of 10 acquisitions",
  // "spectrum: peak hold of 10 acquisitions", "spectrum: exponential average over the
  // last 8 of 57 acquisitions"; empty for None.
  static std::string SpectrumAverageComment(const SpectrumAverage& average);

 private:
  // Header, sections A, F, G and the body into a temporary file renamed over target
  // only when all of it was written.
  bool WriteFile(const std::filesystem::path& target, std::string_view header, const AdUnitSetting& ad,
                 const SaveSetting& save, const FftSetting& fft,
                 const std::function<bool(AtomicFile&)>& writeBody) const;
  // WriteFile after the overwrite question (WriteAsking).
  WriteResult WriteAsked(const std::filesystem::path& target, std::string_view header, const AdUnitSetting& ad,
                         const SaveSetting& save, const FftSetting& fft,
                         const std::function<bool(AtomicFile&)>& writeBody) const;

  // Records why a load stopped where the reader stands.
  void NoteReadProblem(const LineReader& in, const std::filesystem::path& fileName, std::string_view header,
                       bool headerRead) const;

  Prompter& prompter_;
  FileCalls& calls_;
  mutable std::string readProblem_;
};
