#include "cli/Commands.h"

#include <chrono>
#include <string>
#include <thread>

#include "adc/Ad7190.h"
#include "app/MeasurementSession.h"
#include "app/Results.h"
#include "cli/CliPrompter.h"
#include "cli/Progress.h"
#include "cli/Report.h"
#include "drivers/DriverChoice.h"
#include "files/Myfile.h"
#include "model/UnitTables.h"
#include "ui/Mymessage.h"
#include "ui/StatusTexts.h"
#if ZEMTRA_CLI_HAS_PNG
#include "display/GraphHost.h"
#include "files/PrintCommands.h"
#endif

namespace {

using namespace std::chrono_literals;

// While a reply is awaited the link polls the driver; a short sleep keeps that
// from spinning a core. Between acquisition polls the tool sleeps a little longer:
// at 4800 records per second 32 records take 6.7 ms to arrive.
constexpr auto kReplyPollSleep = 200us;
constexpr auto kAcquirePollSleep = 2ms;

void Say(const CliIo& io, const std::string& text) { std::fprintf(io.err, "%s\n", text.c_str()); }

// The measurement and display settings with the analysis options applied, adopted
// by the session (held records are analysed again when the analysis changed).
void ApplyAnalysis(const CliOptions& options, MeasurementSession& session, FftSetting fft) {
  ApplyAnalysisOptions(options, fft);
  session.Settings().ApplyMeasureSettings(fft, session.State().saveSetting);
}

// measure: the records start from the settings file when one is given, then take the
// options. False (and the catalogue's text) when the settings file is invalid.
bool PrepareMeasurement(const CliOptions& options, MeasurementSession& session, const CliIo& io) {
  if (options.settingsFile &&
      session.Settings().OpenSettingFile(*options.settingsFile) != SettingsCommands::OpenOutcome::Opened) {
    Say(io, message_text::kSettingFile);
    return false;
  }
  const SessionState& state = session.State();
  AdUnitSetting ad = state.editAdSetting;
  FftSetting fft = state.fftSetting;
  ApplyUnitOptions(options, ad, fft);
  session.Settings().SetEditAdSetting(ad);
  ApplyAnalysis(options, session, fft);
  return true;
}

int StartFailure(const MeasurementSession::StartResult& start, const CliIo& io) {
  using StartOutcome = MeasurementSession::StartOutcome;
  switch (start.outcome) {
    case StartOutcome::InvalidCount:  // only a settings file can give one
      Say(io, message_text::kSettingFile);
      return kExitInvalidSettings;
    case StartOutcome::NotFound:
      Say(io, std::string(kUnitName) + message_text::kNotFoundSuffix);
      break;
    case StartOutcome::NoResponse:
      Say(io, std::string(kUnitName) + message_text::kNoResponseSuffix);
      break;
    case StartOutcome::SetupFailed:
      Say(io, std::string("the unit's set-up failed at step '") + SetupStepName(start.setup.failedStep) + "'");
      break;
    case StartOutcome::Stopped:
      Say(io, status_text::kStopped);
      return kExitInterrupted;
    case StartOutcome::StartRefused:
    case StartOutcome::Started:
      Say(io, message_text::kCommandSend);
      break;
  }
  return kExitUnit;
}

// Polls until every sample is in, with progress on stderr. kExitOk when all are in.
int Acquire(MeasurementSession& session, const CliIo& io) {
  using PollOutcome = MeasurementSession::PollOutcome;
  Progress progress(session.SampleCount(), SamplesPerSecond(session.State().measAdSetting.spsSel), io.stderrIsTerminal,
                    io.err);
  for (;;) {
    if (io.interrupted != nullptr && io.interrupted->load()) {
      session.Stop();
      progress.Finish();
      Say(io, status_text::kStopped);
      return kExitInterrupted;
    }
    switch (session.Poll()) {
      case PollOutcome::Waiting:
        std::this_thread::sleep_for(kAcquirePollSleep);
        break;
      case PollOutcome::Progress:
        progress.Update(session.SampleIndex());
        break;
      case PollOutcome::ReadFailed:  // also a unit that sends no records (stall)
      case PollOutcome::NotRunning:
        progress.Finish();
        Say(io, status_text::kMeasureError);
        return kExitRead;
      case PollOutcome::AllIn:
        progress.Update(session.SampleIndex());
        progress.Finish();
        return kExitOk;
    }
  }
}

// The automatic save of the settings. False (and the catalogue's text) when it failed.
bool AutoSave(MeasurementSession& session, MeasurementReport& report, const CliIo& io) {
  using AutoSaveOutcome = DataCommands::AutoSaveOutcome;
  const AutoSaveOutcome outcome = session.Data().AutoSave();
  switch (outcome) {
    case AutoSaveOutcome::NotDue:
      break;
    case AutoSaveOutcome::Failed:
      Say(io, message_text::kDataSave);
      return false;
    case AutoSaveOutcome::Written:
    case AutoSaveOutcome::Declined:
      report.files.push_back({"data", session.State().saveSetting.DataFileName, outcome == AutoSaveOutcome::Written});
      break;
  }
  return true;
}

bool WritePicture(const std::string& path, const SessionState& state, MeasurementReport& report, const CliIo& io) {
#if ZEMTRA_CLI_HAS_PNG
  if (RenderGraphsPng(state.curData, nullptr, state.measAdSetting, state.fftSetting, path)) {
    report.files.push_back({"png", path, true});
    return true;
  }
  Say(io, "the picture could not be written: " + path);
#else
  (void)state;
  (void)report;
  Say(io, "this build has no Qt: --png is not available (" + path + ")");
#endif
  return false;
}

// The printed page as a PDF. It names the data file as the window would after a save:
// with --out, the file written.
bool WritePdf(const CliOptions& options, const SessionState& state, Prompter& prompter, MeasurementReport& report,
              const CliIo& io) {
#if ZEMTRA_CLI_HAS_PNG
  SaveSetting save = state.saveSetting;
  if (!options.out.empty()) save.DataFileName = options.out;
  const PrintResult result = PrintPdfFile(options.pdf, options.landscape, state.curData, state.measAdSetting,
                                          state.fftSetting, save, prompter);
  if (result.status == PrintStatus::Failed) {
    Say(io, result.message + ": " + options.pdf);
    return false;
  }
  report.files.push_back({"pdf", options.pdf, result.status == PrintStatus::Printed});
  return true;
#else
  (void)state;
  (void)prompter;
  (void)report;
  Say(io, "this build has no Qt: --pdf is not available (" + options.pdf + ")");
  return false;
#endif
}

// The optional outputs of measure and analyze: data file, spectrum file, picture, page.
int WriteOutputs(const CliOptions& options, MeasurementSession& session, Prompter& prompter, MeasurementReport& report,
                 const CliIo& io) {
  if (!options.out.empty()) {
    const WriteResult result = session.Data().ExportData(options.out);
    if (result == WriteResult::Failed) {
      Say(io, message_text::kDataSave);
      return kExitFile;
    }
    report.files.push_back({"data", options.out, result == WriteResult::Written});
  }
  if (!options.fft.empty()) {
    const SaveResult result = session.Data().WriteSpectrum(options.fft);
    if (result.outcome != SaveOutcome::Written && result.outcome != SaveOutcome::Declined) {
      Say(io, message_text::kFftSave);
      return kExitFile;
    }
    report.files.push_back({"fft", result.path, result.outcome == SaveOutcome::Written});
  }
  if (!options.png.empty() && !WritePicture(options.png, session.State(), report, io)) return kExitFile;
  if (!options.pdf.empty() && !WritePdf(options, session.State(), prompter, report, io)) return kExitFile;
  return kExitOk;
}

void PrintReport(const CliOptions& options, const MeasurementReport& report, const CliIo& io) {
  const std::string text = options.json ? ReportJson(report) : ReportText(report);
  std::fputs(text.c_str(), io.out);
  std::fflush(io.out);  // the summary before any closing notice on stderr
}

}  // namespace

int RunMeasure(const CliOptions& options, const CliIo& io) {
  CliPrompter prompter(options.yes, io.stdinIsTerminal, stdin, io.err);
  MeasurementSession session(prompter);
  if (!PrepareMeasurement(options, session, io)) return kExitInvalidSettings;

  const UnitDriver chosen = MakeUnitDriver(options.simulate, options.device);
  if (!chosen.driver) {
    Say(io, chosen.error);
    return kExitUsage;
  }
  TADC unit(*chosen.driver, [] { std::this_thread::sleep_for(kReplyPollSleep); });
  const auto start = session.Start(unit);
  if (start.outcome != MeasurementSession::StartOutcome::Started) return StartFailure(start, io);
  if (!options.json) Say(io, session.State().unitInfo);

  if (const int acquired = Acquire(session, io); acquired != kExitOk) return acquired;
  if (session.Finish() == MeasurementSession::FinishOutcome::LevelError) {
    Say(io, message_text::kInputLevel);
    return kExitLevel;
  }

  // The automatic save of the settings, then the files asked for on the command line.
  // A failed automatic save keeps the measurement: the other files and the report follow.
  MeasurementReport report{ResultsOf(session.State()), {}};
  const bool autoSaved = AutoSave(session, report, io);
  const int written = WriteOutputs(options, session, prompter, report, io);
  PrintReport(options, report, io);
  const int exitCode = autoSaved ? written : kExitFile;
  if (exitCode == kExitOk && !options.json) Say(io, status_text::kFinished);
  return exitCode;
}

int RunAnalyze(const CliOptions& options, const CliIo& io) {
  CliPrompter prompter(options.yes, io.stdinIsTerminal, stdin, io.err);
  MeasurementSession session(prompter);
  // Refused as well: a readable file whose sample count gives no spectrum.
  if (session.Data().LoadData(options.file) != DataCommands::LoadOutcome::Loaded) {
    Say(io, message_text::kDataFile);
    return kExitFile;
  }
  FftSetting fft = session.State().fftSetting;
  if (options.settingsFile) {
    const auto records = session.Settings().ReadSettingFile(*options.settingsFile);
    if (!records) {
      Say(io, message_text::kSettingFile);
      return kExitInvalidSettings;
    }
    fft = records->fft;
  }
  ApplyAnalysis(options, session, fft);

  MeasurementReport report{ResultsOf(session.State()), {}};
  const int written = WriteOutputs(options, session, prompter, report, io);
  PrintReport(options, report, io);
  return written;
}

int RunSettings(const CliOptions& options, const CliIo& io) {
  CliPrompter prompter(false, false, stdin, io.err);
  MeasurementSession session(prompter);
  const auto records = session.Settings().ReadSettingFile(options.file);
  if (!records) {
    Say(io, message_text::kSettingFile);
    return kExitInvalidSettings;
  }
  std::string text;
  for (const auto& [key, value] : TmyFile::SettingFields(records->ad, records->save, records->fft)) {
    text += key + ": " + value + "\n";
  }
  std::fputs(text.c_str(), io.out);
  return kExitOk;
}
