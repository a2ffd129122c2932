#include "app/DataCommands.h"

#include <algorithm>
#include <utility>

#include "app/JournalRecovery.h"
#include "display/FftSettingRules.h"
#include "ui/FileNames.h"

namespace {

// Sets the data file name to `name` and writes; a declined overwrite gives the old
// name back, a failed write keeps the new one.
template <typename Write>
SaveOutcome WriteUnderName(std::string& fileName, std::string name, Write write) {
  std::string previous = std::exchange(fileName, std::move(name));
  switch (write()) {
    case WriteResult::Written:
      return SaveOutcome::Written;
    case WriteResult::Declined:
      fileName = std::move(previous);
      return SaveOutcome::Declined;
    case WriteResult::Failed:
      break;
  }
  return SaveOutcome::Failed;
}

}  // namespace

DataCommands::DataCommands(SessionState& state, RecordAnalyser& analyser, Prompter& prompter, FileCalls& calls)
    : state_(state), analyser_(analyser), file_(prompter, calls) {
  loadBuffers_->Bind(loaded_);
}

bool DataCommands::NewFileWouldDiscard() const {
  return state_.fDataValid && state_.saveSetting.fSaveDataFile == 0 && !state_.fDataSaved;
}

bool DataCommands::NewDataFile(const std::string& chosen) {
  if (chosen.empty()) return false;
  state_.RequireIdle();
  state_.saveSetting.DataFileName = WithExtensionIfNoDot(chosen, kDataExtension);
  state_.DropData();
  state_.fDataSaved = false;
  return true;
}

DataCommands::LoadOutcome DataCommands::LoadData(const std::string& path) {
  if (path.empty()) return LoadOutcome::NotChosen;
  state_.RequireIdle();
  AdUnitSetting ad = state_.measAdSetting;
  FftSetting fft = state_.fftSetting;
  SaveSetting save = state_.saveSetting;
  if (!ReadDataFile(path, ad, fft, save)) return LoadOutcome::Invalid;
  save.DataFileName = path;
  AdoptLoaded(ad, fft, std::move(save));
  state_.fDataSaved = true;
  return LoadOutcome::Loaded;
}

DataCommands::LoadOutcome DataCommands::RecoverJournal(const JournalContent& journal) {
  state_.RequireIdle();
  loadProblem_.clear();
  const RecoverablePart part = DataFilePart(journal);
  const FftSetting fft = PartFftSetting(journal, part);
  if (part.count == 0) {
    loadProblem_ = "fewer than " + std::to_string(GetDataCount(0)) + " samples of one acquisition";
    return LoadOutcome::Invalid;
  }
  if (!CheckSetting(fft)) {
    loadProblem_ = std::string(DbRangeKeyAtFault(fft)) + " " + std::string(kDbRangeRule);
    return LoadOutcome::Invalid;
  }
  const std::span<const std::int32_t> codes = PartCodes(journal, part);
  std::copy(codes.begin(), codes.end(), loaded_.adCode);
  loaded_.ad_dnum = part.count;
  AdoptLoaded(journal.header.ad, fft, journal.header.save);
  state_.fDataSaved = false;
  return LoadOutcome::Loaded;
}

void DataCommands::AdoptLoaded(const AdUnitSetting& ad, const FftSetting& fft, SaveSetting save) {
  const bool reanalyseReference = state_.fRefValid && RecordAnalyser::AnalysisDiffers(state_.fftSetting, fft);
  TakeLoaded(state_.curData, ad);
  state_.fftSetting = fft;
  state_.measAdSetting = ad;
  state_.editAdSetting = ad;
  state_.saveSetting = std::move(save);
  analyser_.Analyse(state_.curData, state_.measAdSetting, state_.fftSetting);
  state_.ForgetSeries();
  state_.codeDeviation = CodeDeviation(state_.curData);
  state_.fDataValid = true;
  if (reanalyseReference) analyser_.Analyse(state_.refData, state_.refAdSetting, state_.fftSetting);
}

DataCommands::LoadOutcome DataCommands::LoadReference(const std::string& path) {
  if (path.empty()) return LoadOutcome::NotChosen;
  state_.RequireIdle();
  AdUnitSetting ad = state_.refAdSetting;
  FftSetting fft = state_.fftSetting;
  SaveSetting save = state_.saveSetting;
  if (!ReadDataFile(path, ad, fft, save)) return LoadOutcome::Invalid;

  TakeLoaded(state_.refData, ad);
  state_.refAdSetting = ad;
  analyser_.Analyse(state_.refData, state_.refAdSetting, state_.fftSetting);
  state_.fRefValid = true;
  return LoadOutcome::Loaded;
}

bool DataCommands::ClearReference() {
  if (!state_.fRefValid) return false;
  state_.RequireIdle();
  state_.DropReference();
  return true;
}

SaveResult DataCommands::SaveData(const std::string& chosen) {
  if (!state_.fDataValid) return {SaveOutcome::NoData, {}};
  if (chosen.empty()) return {SaveOutcome::NotChosen, {}};
  SaveResult result{SaveOutcome::Failed, DataSaveName(chosen)};
  result.outcome =
      WriteUnderName(state_.saveSetting.DataFileName, result.path, [this] { return WriteCurrent(state_.saveSetting); });
  if (result.outcome == SaveOutcome::Written) state_.fDataSaved = true;
  return result;
}

SaveResult DataCommands::WriteSpectrum(const std::string& chosen) {
  if (!state_.fDataValid) return {SaveOutcome::NoData, {}};
  if (chosen.empty()) return {SaveOutcome::NotChosen, {}};
  SaveResult result{SaveOutcome::Failed, WithExtensionIfNoDot(chosen, kFftExtension)};
  result.outcome = WriteUnderName(state_.saveSetting.DataFileName, DataNameOfSpectrum(result.path), [&] {
    SaveSetting target = state_.saveSetting;
    target.DataFileName = result.path;
    return file_.SaveFftFile(kFftFileHeader, state_.measAdSetting, state_.curData, state_.fftSetting, target,
                             state_.curAverage);
  });
  return result;
}

WriteResult DataCommands::ExportData(const std::string& path) const {
  if (!state_.fDataValid) return WriteResult::Failed;
  SaveSetting save = state_.saveSetting;
  save.DataFileName = path;
  return WriteCurrent(save);
}

std::optional<std::string> DataCommands::SpectrumText(const std::string& name) const {
  if (!state_.fDataValid) return std::nullopt;
  SaveSetting target = state_.saveSetting;
  target.DataFileName = name;
  return TmyFile::FftFileText(kFftFileHeader, state_.measAdSetting, state_.curData, state_.fftSetting, target,
                              state_.curAverage);
}

std::optional<std::string> DataCommands::AutoSaveTarget() const {
  const SaveSetting& save = state_.saveSetting;
  if (save.fSaveDataFile != 1 || save.DataFileName.empty()) return std::nullopt;
  return save.DataFileName;
}

DataCommands::AutoSaveOutcome DataCommands::AutoSave() {
  const SaveSetting& save = state_.saveSetting;
  if (!state_.fDataValid || !AutoSaveTarget()) return AutoSaveOutcome::NotDue;
  // A name from another platform would create a file of that literal name here.
  const WriteResult result = IsUsablePathHere(save.DataFileName) ? WriteCurrent(save) : WriteResult::Failed;
  switch (result) {
    case WriteResult::Written:
      state_.fDataSaved = true;
      return AutoSaveOutcome::Written;
    case WriteResult::Declined:
      return AutoSaveOutcome::Declined;
    case WriteResult::Failed:
      break;
  }
  state_.fDataSaved = false;
  return AutoSaveOutcome::Failed;
}

bool DataCommands::ReadDataFile(const std::string& path, AdUnitSetting& ad, FftSetting& fft, SaveSetting& save) {
  loaded_.ad_dnum = 0;
  loadProblem_.clear();
  if (!file_.LoadDataFile(path, kDataFileHeader, loaded_, fft, save, ad)) {
    loadProblem_ = file_.ReadProblem();
    return false;
  }
  // The dB range is checked as a settings file's is, so the readouts never rest on a
  // level the display table does not hold.
  if (!CheckSetting(fft)) {
    loadProblem_ = TmyFile::KeyProblem(path, DbRangeKeyAtFault(fft), kDbRangeRule);
    return false;
  }
  if (!IsAnalysableCount(loaded_.ad_dnum)) {
    loadProblem_ = TmyFile::KeyProblem(path, "ad_dnum", kAnalysableCountRule);
    return false;
  }
  return true;
}

void DataCommands::TakeLoaded(MeasureData& target, const AdUnitSetting& ad) const {
  target.ad_dnum = loaded_.ad_dnum;
  target.spsSel = static_cast<std::uint32_t>(ad.spsSel);
  target.sinc3 = ad.sinc3;
  // The volts, their range and the frequency step follow from the codes (CodeToVolt).
  std::copy_n(loaded_.adCode, loaded_.ad_dnum, target.adCode);
}

WriteResult DataCommands::WriteCurrent(const SaveSetting& save) const {
  const WriteResult result =
      file_.SaveDataFile(kDataFileHeader, state_.measAdSetting, state_.curData, state_.fftSetting, save);
  if (result == WriteResult::Written && saved_) saved_();
  return result;
}
