#include "app/SettingsCommands.h"

#include "ui/FileNames.h"
#include "display/FftSettingRules.h"
#include "model/TextCatalogue.h"
#include "model/UnitTables.h"
#include "ui/Mymessage.h"

namespace fs = std::filesystem;

namespace {

// The save settings as a settings file can hold them: a data file name no settings
// line can hold (a line feed in it, say) is left out, so that one field never costs
// every other setting.
SaveSetting StorableSave(const SaveSetting& save) {
  SaveSetting stored = save;
  if (!TmyFile::IsStorableFileName(stored.DataFileName)) stored.DataFileName.clear();
  return stored;
}

}  // namespace

SettingsCommands::SettingsCommands(SessionState& state, RecordAnalyser& analyser, Prompter& prompter, FileCalls& calls)
    : state_(state), analyser_(analyser), prompter_(prompter), file_(prompter, calls) {}

std::optional<SettingRecords> SettingsCommands::ReadSettingFile(const std::string& path) const {
  SettingRecords records;
  readProblem_.clear();
  if (!file_.LoadSettingFile(path, kSettingFileHeader, records.fft, records.save, records.ad)) {
    readProblem_ = file_.ReadProblem();
    return std::nullopt;
  }
  if (!CheckSetting(records.fft)) {
    readProblem_ = TmyFile::KeyProblem(path, DbRangeKeyAtFault(records.fft), kDbRangeRule);
    return std::nullopt;
  }
  if (!IsAnalysableCount(records.fft.DataCountMax)) {
    readProblem_ = TmyFile::KeyProblem(path, "DataCountMax", kAnalysableCountRule);
    return std::nullopt;
  }
  return records;
}

SettingsCommands::OpenOutcome SettingsCommands::OpenSettingFile(const std::string& path) {
  if (path.empty()) return OpenOutcome::NotChosen;
  state_.RequireIdle();
  const auto records = ReadSettingFile(path);
  if (!records) return OpenOutcome::Invalid;
  Adopt(*records);
  return OpenOutcome::Opened;
}

SaveResult SettingsCommands::SaveSettingFile(const std::string& chosen) {
  if (chosen.empty()) return {SaveOutcome::NotChosen, {}};
  SaveResult result{SaveOutcome::Failed, WithExtensionIfNoDot(chosen, kSettingExtension)};
  std::error_code ec;
  if (fs::exists(result.path, ec) && !prompter_.AskYesNo(Localized("同名のファイル：%1があります。\n上書きしますか",
                                                                   {prompter_.PathText(result.path)}),
                                                         kProgramCaption)) {
    result.outcome = SaveOutcome::Declined;
    return result;
  }
  if (file_.SaveSettingFile(result.path, kSettingFileHeader, state_.fftSetting, StorableSave(state_.saveSetting),
                            state_.editAdSetting)) {
    result.outcome = SaveOutcome::Written;
  }
  return result;
}

void SettingsCommands::SetEditAdSetting(const AdUnitSetting& setting) {
  state_.editAdSetting = setting;
  state_.editAdSetting.Gain = GainOf(setting.GainSel);
}

bool SettingsCommands::WouldDiscardData(const FftSetting& next) const {
  return next.DataCountSel != state_.fftSetting.DataCountSel && state_.HoldsUnsavedData();
}

SettingsCommands::ApplyResult SettingsCommands::ApplyMeasureSettings(const FftSetting& fft, const SaveSetting& save) {
  state_.RequireIdle();
  ApplyResult result;
  if (WouldDiscardData(fft)) {
    state_.DropData();
    state_.fDataSaved = false;
    result.dataDiscarded = true;
  }
  const bool analysisChanged = RecordAnalyser::AnalysisDiffers(state_.fftSetting, fft);
  state_.fftSetting = fft;
  state_.saveSetting = save;
  if (!analysisChanged) return result;
  if (state_.fDataValid) {
    analyser_.Analyse(state_.curData, state_.measAdSetting, state_.fftSetting);
    state_.ForgetSeries();  // the spectrum is the last samples' own again
  }
  if (state_.fRefValid) analyser_.Analyse(state_.refData, state_.refAdSetting, state_.fftSetting);
  result.reanalysed = state_.fDataValid || state_.fRefValid;
  return result;
}

SettingsCommands::DefaultsOutcome SettingsCommands::LoadDefaultSettings(const fs::path& path) {
  state_.RequireIdle();
  if (const auto records = ReadSettingFile(path.string())) {
    Adopt(*records);
    return DefaultsOutcome::Loaded;
  }
  Adopt(SettingRecords{});
  std::error_code ec;
  const bool existed = fs::exists(path, ec);
  // A hand-edited file is not lost silently: it stays beside the new one.
  if (existed) {
    fs::path backup = path;
    backup += kBackupSuffix;
    if (!fs::copy_file(path, backup, fs::copy_options::overwrite_existing, ec)) return DefaultsOutcome::WriteFailed;
  }
  if (!SaveDefaultSettings(path)) return DefaultsOutcome::WriteFailed;
  return existed ? DefaultsOutcome::Replaced : DefaultsOutcome::Created;
}

bool SettingsCommands::SaveDefaultSettings(const fs::path& path) const {
  return file_.SaveSettingFile(path, kSettingFileHeader, state_.fftSetting, StorableSave(state_.saveSetting),
                               state_.measAdSetting);
}

void SettingsCommands::Adopt(const SettingRecords& records) {
  state_.measAdSetting = records.ad;
  state_.editAdSetting = records.ad;
  state_.saveSetting = records.save;
  state_.fftSetting = records.fft;
  state_.DropData();
  state_.DropReference();
  state_.fDataSaved = false;
}
