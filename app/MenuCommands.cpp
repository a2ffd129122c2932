// The menu commands of TFormMain on files, settings, the reference and printing. Each
// asks for its file or printer through the prompters, lets the session (or the print
// commands) do the work and shows the outcome: boxes of the catalogue, status notices,
// caption, graphs and readouts.
#include <QLineEdit>

#include "adc/Amp_setting.h"
#include "app/JournalRecovery.h"
#include "app/RecoverDialog.h"
#include "app/Zemtra_main.h"
#include "display/FftSettingRules.h"
#include "display/Fft_setting.h"
#include "files/AskedWrite.h"
#include "files/PrintCommands.h"
#include "ui/FileNames.h"
#include "ui/Myversion.h"

namespace {

constexpr const char* kDiscardQuestion =
    QT_TRANSLATE_NOOP("TFormMain", "データを保存していませんが、破棄してもいいですか？");

// The file dialogs' titles name their commands; 新規ファイル's says what it does, since
// a save dialog that saves nothing would surprise.
constexpr const char* kNewFileTitle =
    QT_TRANSLATE_NOOP("TFormMain", "新規ファイル：次に保存するデータファイルの名前（ここでは保存しません）");
constexpr const char* kDataLoadTitle = QT_TRANSLATE_NOOP("TFormMain", "データ読込み");
constexpr const char* kDataSaveTitle = QT_TRANSLATE_NOOP("TFormMain", "データ保存");
constexpr const char* kTextSaveTitle = QT_TRANSLATE_NOOP("TFormMain", "FFT結果出力");
constexpr const char* kRefLoadTitle = QT_TRANSLATE_NOOP("TFormMain", "参照データ読み込み");
constexpr const char* kSettingOpenTitle = QT_TRANSLATE_NOOP("TFormMain", "設定ファイル読込み");
constexpr const char* kSettingSaveTitle = QT_TRANSLATE_NOOP("TFormMain", "設定ファイル保存");
constexpr const char* kJournalCsvTitle = QT_TRANSLATE_NOOP("TFormMain", "途中データのCSV出力");
constexpr const char* kCsvExtension = ".csv";
constexpr const char* kAnyCsvFile = "*.csv";

}  // namespace

std::string TFormMain::ChooseFile(bool save, const char* title, const QString& filter, const std::string& startName,
                                  const char* pattern) {
  const std::string start = DialogStartName(startName, pattern);
  const std::string shownTitle = tr(title).toStdString();
  std::string chosen = save ? prompter_.ChooseSaveFile(shownTitle, filter.toStdString(), start)
                            : prompter_.ChooseOpenFile(shownTitle, filter.toStdString(), start);
  activateWindow();
  return chosen;
}

bool TFormMain::MayDiscardData(bool wouldDiscard) {
  return !wouldDiscard ||
         prompter_.AskOkCancel(tr(kDiscardQuestion).toStdString(), kProgramCaption, MessageIcon::Warning);
}

void TFormMain::MenuFileNewClick() {
  if (!MayDiscardData(session_.Data().NewFileWouldDiscard())) return;
  const std::string chosen = ChooseFile(true, kNewFileTitle, tr("Data files (*.DTA)"),
                                        session_.State().saveSetting.DataFileName, kAnyDataFile);
  if (!session_.Data().NewDataFile(chosen)) return;
  ClearDisplay();
  status_.ClearMeasurePanels();
  UpdateTitle();
  RedrawData();  // a held reference stays in view
}

void TFormMain::LoadMeasurement(bool asReference) {
  // A reference load leaves the measurement; a data load replaces it.
  if (!asReference && !MayDiscardData(session_.State().HoldsUnsavedData())) return;
  LockCommands();
  const std::string chosen =
      ChooseFile(false, asReference ? kRefLoadTitle : kDataLoadTitle, tr("データファイル (*.DTA)"),
                 session_.State().saveSetting.DataFileName, kAnyDataFile);
  DataCommands& data = session_.Data();
  switch (asReference ? data.LoadReference(chosen) : data.LoadData(chosen)) {
    case DataCommands::LoadOutcome::NotChosen:
      break;
    case DataCommands::LoadOutcome::Invalid:
      message_.DataFileError();
      break;
    case DataCommands::LoadOutcome::Loaded:
      RelayoutGraphs();
      RedrawData();
      if (asReference) {
        status_.ShowRefLoaded();
      } else {
        results_.ShowTopPeak();
        results_.ShowRMS();
        results_.ShowFreqInfo();
        status_.ShowDataLoaded();
        UpdateTitle();
      }
      break;
  }
  UnlockCommands();
}

void TFormMain::MenuDataLoadClick() { LoadMeasurement(false); }

void TFormMain::MenuRefLoadFileClick() { LoadMeasurement(true); }

void TFormMain::MenuDataSaveClick() {
  if (!session_.State().fDataValid) {
    message_.NoDataError();
    return;
  }
  LockCommands();
  const std::string chosen = ChooseFile(true, kDataSaveTitle, tr("データファイル (*.DTA)"),
                                        session_.State().saveSetting.DataFileName, kAnyDataFile);
  switch (session_.Data().SaveData(chosen).outcome) {
    case SaveOutcome::Written:
      UpdateTitle();
      break;
    case SaveOutcome::Failed:
      UpdateTitleIfAutoSave();  // the new name stays: the next automatic save goes there
      message_.DataSaveError();
      break;
    case SaveOutcome::NoData:
      message_.NoDataError();
      break;
    case SaveOutcome::NotChosen:
    case SaveOutcome::Declined:  // the file kept: not saved, nothing to say
      break;
  }
  UnlockCommands();
}

void TFormMain::MenuTextSaveClick() {
  LockCommands();
  bool written = true;
  if (!session_.State().fDataValid) {
    message_.NoDataError();
    written = false;
  } else {
    const std::string chosen = ChooseFile(true, kTextSaveTitle, tr("FFTファイル (*.FFT)"),
                                          ProposedSpectrumName(session_.State().saveSetting.DataFileName), kAnyFftFile);
    const SaveOutcome outcome = session_.Data().WriteSpectrum(chosen).outcome;
    written = outcome != SaveOutcome::Failed && outcome != SaveOutcome::NoData;
    // A chosen spectrum file names the data file of the next automatic save.
    UpdateTitleIfAutoSave();
  }
  if (!written) message_.FftSaveError();
  UnlockCommands();
}

void TFormMain::OfferRecovery() {
  if (!env_.journalDirectory) return;
  const std::optional<KeptJournal> journal = TakeUnendedJournal(*env_.journalDirectory, SystemFileCalls());
  if (!journal) return;
  const QString cut =
      tr("前回の計測は途中で終了しました（%1 サンプル）。").arg(TFormRecover::SamplesText(journal->content));
  if (DataFilePart(journal->content).count == 0) {
    // Nothing a data file or the analysis could take; the samples stay in the journal.
    const QString why = tr("%1 サンプルに満たないため復元できません。受信したサンプルは データ → 途中データの復元 から "
                           "CSV に出力できます。")
                            .arg(GetDataCount(0));
    prompter_.ShowMessage((cut + why).toStdString(), kProgramCaption, MessageIcon::Warning);
    return;
  }
  if (prompter_.AskYesNo((cut + tr("復元しますか？")).toStdString(), kProgramCaption)) RecoverJournal(*journal);
}

bool TFormMain::RecoverJournal(const KeptJournal& journal) {
  if (session_.Data().RecoverJournal(journal.content) != DataCommands::LoadOutcome::Loaded) {
    message_.DataFileError();
    return false;
  }
  RelayoutGraphs();
  RedrawData();
  results_.ShowTopPeak();
  results_.ShowRMS();
  results_.ShowFreqInfo();
  status_.ClearMeasurePanels();
  status_.ShowText(tr("途中データを復元しました"), TmyStatus::kMeasurePanel);
  UpdateTitle();
  return true;
}

void TFormMain::WriteJournalCsv(const KeptJournal& journal) {
  const std::string chosen = WithExtensionIfNoDot(
      ChooseFile(true, kJournalCsvTitle, tr("CSV ファイル (*.csv)"), journal.entry.id + kCsvExtension, kAnyCsvFile),
      kCsvExtension);
  if (chosen.empty()) return;
  const std::string text = JournalSamplesCsv(journal.content);
  const WriteResult result = WriteAsking(chosen, prompter_, SystemFileCalls(), [&text](AtomicFile& out) {
    out.Append(text);
    return out.Good();
  });
  if (result == WriteResult::Failed) message_.DataSaveError();
}

void TFormMain::MenuDataRecoverClick() {
  const std::vector<KeptJournal> journals =
      env_.journalDirectory ? KeptJournals(*env_.journalDirectory) : std::vector<KeptJournal>();
  if (journals.empty()) {
    prompter_.ShowMessage(tr("復元できる途中データはありません").toStdString(), kProgramCaption, MessageIcon::Warning);
    return;
  }
  LockCommands();
  if (recover_ == nullptr) recover_ = new TFormRecover(this);
  recover_->SetJournals(journals);
  recover_->exec();
  activateWindow();
  const int row = recover_->ChosenRow();
  switch (recover_->Chosen()) {
    case TFormRecover::Choice::Recover:
      // Asked only now: the list and a CSV file drop nothing.
      if (MayDiscardData(session_.State().HoldsUnsavedData())) RecoverJournal(journals[static_cast<std::size_t>(row)]);
      break;
    case TFormRecover::Choice::WriteCsv:
      WriteJournalCsv(journals[static_cast<std::size_t>(row)]);
      break;
    case TFormRecover::Choice::None:
      break;
  }
  UnlockCommands();
}

void TFormMain::MenuRefClearClick() {
  if (!session_.Data().ClearReference()) return;
  graph_.ClearAll();
  graph_.Paint();
  status_.ClearMeasurePanels();
  RedrawData();  // the measurement, when there is one
  if (session_.State().fDataValid) results_.ShowFreqInfo();
}

void TFormMain::MenuDispSettingClick() {
  const SessionState& state = session_.State();
  FftSetting fft = state.fftSetting;
  SaveSetting save = state.saveSetting;
  std::uint8_t cancelled = 1;  // any close but Set cancels
  fftSetting_->SetSetting(fft, save, cancelled);
  fftSetting_->exec();
  activateWindow();
  if (cancelled != 0) return;
  // An unsaved measurement is dropped by a new sample count only when the user agrees;
  // otherwise it stays, with the count it was measured with.
  if (!MayDiscardData(session_.Settings().WouldDiscardData(fft))) {
    fft.DataCountSel = state.fftSetting.DataCountSel;
    fft.DataCountMax = state.fftSetting.DataCountMax;
  }
  const SettingsCommands::ApplyResult applied = session_.Settings().ApplyMeasureSettings(fft, save);
  UpdateTitleIfAutoSave();
  RelayoutGraphs();
  if (applied.dataDiscarded) results_.ClearResults();
  if (!state.fDataValid && !state.fRefValid) {
    graph_.Paint();
    ShowMeasurementChanged();
    return;
  }
  if (applied.reanalysed) {
    results_.ShowTopPeak();
    results_.ShowRMS();
  }
  RedrawData();
  results_.ShowFreqInfo();
}

void TFormMain::MenuADUnitSettingClick() {
  AdUnitSetting setting = session_.State().editAdSetting;
  std::uint8_t cancelled = 1;  // any close but Set cancels
  ampSetting_->SetupDialog(setting, cancelled);
  ampSetting_->exec();
  activateWindow();
  if (cancelled == 0) session_.Settings().SetEditAdSetting(setting);
}

void TFormMain::MenuOpenSettingFileClick() {
  // A settings file drops both measurements.
  if (!MayDiscardData(session_.State().HoldsUnsavedData())) return;
  const std::string chosen = ChooseFile(false, kSettingOpenTitle, tr("設定 ファイル (*.prf)"),
                                        PatternBeside(lastSettingFile_, kAnySettingFile), kAnySettingFile);
  if (!chosen.empty()) lastSettingFile_ = chosen;
  switch (session_.Settings().OpenSettingFile(chosen)) {
    case SettingsCommands::OpenOutcome::NotChosen:
      return;
    case SettingsCommands::OpenOutcome::Invalid:
      message_.SettingFileError();
      return;
    case SettingsCommands::OpenOutcome::Opened:
      RelayoutGraphs();
      ClearDisplay();
      status_.ClearMeasurePanels();
      UpdateTitleIfAutoSave();
      return;
  }
}

void TFormMain::MenuSaveSettingFileClick() {
  const std::string chosen = ChooseFile(true, kSettingSaveTitle, tr("設定 ファイル (*.prf)"),
                                        PatternBeside(lastSettingFile_, kAnySettingFile), kAnySettingFile);
  if (!chosen.empty()) lastSettingFile_ = chosen;
  if (session_.Settings().SaveSettingFile(chosen).outcome == SaveOutcome::Failed) message_.IniSaveError();
}

void TFormMain::MenuFilePrintSettingClick() { PageSetupCommand(printPrompter_, *printer_); }

void TFormMain::MenuFilePrintClick() {
  const SessionState& state = session_.State();
  if (!state.fDataValid) {
    message_.NoDataError();
    return;
  }
  // The readout is printed as it stands, also when the user stepped it off the peak.
  PrintInfo info = PrintInfoOf(state.curData, state.fftSetting, state.saveSetting);
  info.peakVolt = controls_.EditPeakVolt->text().toStdString();
  info.peakDb = controls_.EditPeakdB->text().toStdString();
  info.peakHz = controls_.EditPeakHz->text().toStdString();
  info.peakVoltUnit = results_.Peak().unit;
  info.average = state.curAverage;
  // A failed page leaves the measurement and the window as they were.
  if (PrintCommand(printPrompter_, *printer_, graph_, state.fftSetting, info).status == PrintStatus::Failed) {
    message_.PrintError();
  }
}
