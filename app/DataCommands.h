// The data-file commands of a measurement session, without any dialog: each takes
// the path the user chose (an empty path is a cancelled dialog and changes nothing)
// and reports an outcome; the window shows the boxes and texts for it. The only
// question asked here is the writers' overwrite question ("ファイル：…があります。
// 上書きしますか"), through the session's Prompter.
//
// Commands that change the records throw std::logic_error while a measurement runs
// (the window keeps them locked then); the save commands find no current measurement
// then (fDataValid is 0 from the accepted start on).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/RecordAnalyser.h"
#include "app/SaveResult.h"
#include "app/SessionState.h"
#include "files/Journal.h"
#include "files/Myfile.h"
#include "ui/Prompter.h"

class DataCommands {
 public:
  // calls: the system calls of the writers (a seam for tests and for the caller's own
  // checks before a file is renamed into place).
  DataCommands(SessionState& state, RecordAnalyser& analyser, Prompter& prompter, FileCalls& calls);

  // 新規ファイル. Whether the discard question ("データを保存していませんが、破棄しても
  // いいですか？", OK/Cancel) is due first: an unsaved current measurement and no
  // automatic saving.
  bool NewFileWouldDiscard() const;
  // Names the file of the next saves: DataFileName = chosen (".DTA" when the file
  // name has no "."); the current measurement is dropped (fDataValid 0, fDataSaved 0);
  // a reference stays. Nothing is written. False for an empty name (nothing changed).
  // Caption: retitle (CaptionText).
  bool NewDataFile(const std::string& chosen);

  enum class LoadOutcome {
    NotChosen,  // empty path: nothing changed
    Loaded,     // adopted, see below
    Invalid,    // unreadable, not a regular file, not a data file, a dB range that a
                // settings file could not hold (CheckSetting), or a sample count that is
                // not a power of two ("データファイルの内容が正しくありませんでした"):
                // nothing changed
  };
  // データ → 読込み. On Loaded: curData holds the file's samples, converted and analysed
  // (codeDeviation too); fDataValid 1, fDataSaved 1; FftSetting, measAdSetting and
  // editAdSetting are the file's, SaveSetting is the file's with DataFileName = path.
  // A held reference is analysed again when the window, its correction or the DC cut
  // changed. Caption: retitle.
  LoadOutcome LoadData(const std::string& path);
  // A journalled measurement recovered (データ → 途中データの復元, the question at
  // start): curData holds the part a data file can hold (DataFilePart), converted
  // and analysed as LoadData's; measAdSetting, editAdSetting, SaveSetting and
  // FftSetting are the journal's, with the part's sample count; fDataValid 1,
  // fDataSaved 0. Invalid when the journal has no such part (fewer than 1024 samples
  // of one acquisition) or a dB range a settings file could not hold: nothing changed.
  LoadOutcome RecoverJournal(const JournalContent& journal);
  // 参照データ → 読み込み. On Loaded: refData holds the file's samples, analysed with
  // the current FftSetting; refAdSetting is the file's; fRefValid 1. Nothing else
  // changes (the file's FftSetting and SaveSetting are not used). Caption unchanged.
  LoadOutcome LoadReference(const std::string& path);
  // Why the last LoadData or LoadReference that gave Invalid refused its file: the
  // system's reason, or the first invalid line with its number and key.
  const std::string& LoadProblem() const { return loadProblem_; }
  // データをクリア: drops the reference (fRefValid 0). False when none was held.
  bool ClearReference();

  // データ → 保存. The name gets ".DTA" unless it ends in exactly ".DTA"; DataFileName =
  // that name; the current measurement is written with measAdSetting, FftSetting and
  // SaveSetting. Written: fDataSaved 1, retitle. Declined: DataFileName back as it
  // was, nothing else changes (no box, caption unchanged). Failed ("データ保存できませ
  // んでした"): DataFileName keeps the new name, fDataSaved unchanged; caption: retitle
  // only when CaptionFollowsAutoSave. NoData
  // ("データがありません") is checked before the name.
  SaveResult SaveData(const std::string& chosen);
  // FFT結果出力. The name gets ".FFT" when the file name has no "."; DataFileName = that
  // name cut before the file name's first "." + ".DTA" (the data file that belongs to
  // it) and the spectrum is written with SaveSetting naming the spectrum file.
  // Declined puts DataFileName back. Caption: retitle only when CaptionFollowsAutoSave
  // (the next automatic save goes to the new DataFileName). NoData
  // ("データがありません", then "FFTデータ保存できませんでした") is checked first; Failed:
  // "FFTデータ保存できませんでした".
  SaveResult WriteSpectrum(const std::string& chosen);
  // The current measurement to exactly this path, as SaveData writes it but without
  // any extension rule or change of the session (the command-line tool's --out).
  // Failed when there is no current measurement.
  WriteResult ExportData(const std::string& path) const;
  // The bytes of the spectrum file as WriteSpectrum writes it, its F section naming
  // `name`, for the standard output (the command-line tool's --fft -); none without a
  // current measurement.
  std::optional<std::string> SpectrumText(const std::string& name) const;

  enum class AutoSaveOutcome {
    NotDue,    // automatic saving off, no DataFileName, or no current measurement
    Written,   // fDataSaved 1; retitle
    Declined,  // the user kept the existing file: nothing changes (no box, caption unchanged)
    Failed,    // not written, also when DataFileName is no usable path here (e.g.
               // "D:\data\run1.DTA" from another platform): fDataSaved 0, the
               // measurement stays held and shown; box "データ保存できませんでした"
  };
  // The automatic save at the end of a measurement (after MeasurementSession::Finish)
  // to DataFileName.
  AutoSaveOutcome AutoSave();
  // The file the automatic save will write once a measurement is held: DataFileName
  // when automatic saving is on and names a file; nothing otherwise.
  std::optional<std::string> AutoSaveTarget() const;

  // Called after the current measurement was written to a data file (SaveData,
  // ExportData, AutoSave): its journal is then no longer needed.
  void OnMeasurementSaved(std::function<void()> hook) { saved_ = std::move(hook); }

 private:
  // Reads a data file into the load record and the given settings (which start as
  // the caller's copies); false unless the whole file is valid and its sample count
  // can be analysed.
  bool ReadDataFile(const std::string& path, AdUnitSetting& ad, FftSetting& fft, SaveSetting& save);
  // The load record's samples into target, with the rate and filter of ad.
  void TakeLoaded(MeasureData& target, const AdUnitSetting& ad) const;
  // The load record becomes the current measurement with these settings, analysed.
  void AdoptLoaded(const AdUnitSetting& ad, const FftSetting& fft, SaveSetting save);
  // The current measurement with the session's settings and the given SaveSetting.
  WriteResult WriteCurrent(const SaveSetting& save) const;

  SessionState& state_;
  RecordAnalyser& analyser_;
  TmyFile file_;
  // A file is read into this record first, so a failed read changes nothing held.
  std::unique_ptr<MeasureBuffers> loadBuffers_ = std::make_unique<MeasureBuffers>();
  MeasureData loaded_;
  std::string loadProblem_;
  std::function<void()> saved_;
};
