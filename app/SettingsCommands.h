// The settings commands of a measurement session, without any dialog: settings files
// chosen by the user, the default settings file at a path the caller resolves, and
// the adoption of what the two settings dialogs (or the command line) hand back.
// Chosen paths come as the dialogs return them; an empty path changes nothing.
//
// A settings file is valid when the reader takes it whole, its dB range passes
// CheckSetting, and its sample count is a power of two the analysis can take.
// Commands that change the records throw std::logic_error while a measurement runs.
//
// Both writers leave out a DataFileName that no settings line can hold (a name with a
// line feed, which a data file may have): the file is written with the other settings
// and an empty DataFileName rather than not at all.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/RecordAnalyser.h"
#include "app/SaveResult.h"
#include "app/SessionState.h"
#include "files/Myfile.h"
#include "ui/Prompter.h"

// The three records of a settings file.
struct SettingRecords {
  AdUnitSetting ad;
  SaveSetting save;
  FftSetting fft;
};

class SettingsCommands {
 public:
  static constexpr const char* kBackupSuffix = ".bak";  // Zemtraini.prf → Zemtraini.prf.bak

  SettingsCommands(SessionState& state, RecordAnalyser& analyser, Prompter& prompter, FileCalls& calls);

  // A valid settings file's records, keys it lacks at their defaults; nothing when the
  // file is missing or invalid. The session is not touched.
  std::optional<SettingRecords> ReadSettingFile(const std::string& path) const;
  // Why the last ReadSettingFile (also through OpenSettingFile) that found nothing
  // refused its file: the system's reason, or the first invalid line with its number
  // and key (TmyFile::ReadProblem, and the same for the dB range and sample count).
  const std::string& ReadProblem() const { return readProblem_; }

  enum class OpenOutcome {
    NotChosen,  // empty path: nothing changed
    Opened,     // adopted, see below
    Invalid,  // missing or invalid ("設定ファイルの内容が正しくありませんでした"): nothing changed
  };
  // 設定 → 読込み. On Opened: measAdSetting and editAdSetting, SaveSetting and FftSetting
  // are the file's; both measurements are dropped (fDataValid, fDataSaved, fRefValid 0).
  // Caption: retitle only when CaptionFollowsAutoSave.
  OpenOutcome OpenSettingFile(const std::string& path);

  // 設定 → 保存. The name gets ".prf" when the file name has no "."; an existing file is
  // replaced only after "同名のファイル：" + name + "があります。" LF "上書きしますか" was
  // answered Yes (else Declined). Writes FftSetting, SaveSetting and editAdSetting (the
  // converter dialog's settings, not those of the last measurement). Failed:
  // "初期設定ファイルを保存できませんでした". Nothing of the session changes.
  SaveResult SaveSettingFile(const std::string& chosen);

  // AD変換ユニット設定 confirmed: editAdSetting = setting, its Gain taken from GainSel.
  // Used by the next start.
  void SetEditAdSetting(const AdUnitSetting& setting);

  // 計測/表示設定: whether adopting next drops the current measurement, because the
  // sample count changes while the measurement is unsaved (the window asks first).
  bool WouldDiscardData(const FftSetting& next) const;
  struct ApplyResult {
    bool dataDiscarded = false;  // see WouldDiscardData: fDataValid 0, fDataSaved 0
    bool reanalysed = false;     // window, correction or DC cut changed: held records analysed again
  };
  // 計測/表示設定 confirmed: FftSetting = fft and SaveSetting = save (the dialog edits
  // automatic saving and its file). Colours and ranges alone need only a redraw.
  // Caption: retitle only when CaptionFollowsAutoSave.
  ApplyResult ApplyMeasureSettings(const FftSetting& fft, const SaveSetting& save);

  enum class DefaultsOutcome {
    Loaded,       // the file was valid and is adopted
    Created,      // there was no file: defaults adopted and written
    Replaced,     // the file was invalid: kept as path + ".bak", defaults adopted and written
    WriteFailed,  // defaults adopted, but the file could not be written (or, when invalid,
                  // not be kept as ".bak" first, so it was left alone):
                  // "初期設定ファイルを保存できませんでした"
  };
  // At start-up: the default settings file (Zemtraini.prf) at path, adopted as
  // OpenSettingFile adopts a file; with defaults in its place when it is missing or invalid.
  DefaultsOutcome LoadDefaultSettings(const std::filesystem::path& path);
  // At close (after a running measurement was stopped): FftSetting, SaveSetting and
  // measAdSetting to path. False when it could not be written
  // ("初期設定ファイルを保存できませんでした").
  bool SaveDefaultSettings(const std::filesystem::path& path) const;

 private:
  // The records become the session's settings; both measurements are dropped.
  void Adopt(const SettingRecords& records);

  SessionState& state_;
  RecordAnalyser& analyser_;
  Prompter& prompter_;
  TmyFile file_;
  mutable std::string readProblem_;
};
