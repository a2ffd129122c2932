#include "cli/Commands.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "adc/Ad7190.h"
#include "analysis/PowerAverage.h"
#include "ui/FileNames.h"
#include "app/MeasurementSession.h"
#include "app/Results.h"
#include "cli/CliPrompter.h"
#include "cli/NoiseAnalysis.h"
#include "cli/Outputs.h"
#include "cli/Progress.h"
#include "cli/Recover.h"
#include "cli/Report.h"
#include "cli/Scan.h"
#include "drivers/DriverChoice.h"
#include "files/DensityFile.h"
#include "files/FigureFiles.h"
#include "files/Journal.h"
#include "files/MeasureCsv.h"
#include "files/Myfile.h"
#include "model/TextCatalogue.h"
#include "model/UnitTables.h"
#include "ui/Mymessage.h"
#include "ui/StatusTexts.h"
#include "ui/TextHelpers.h"
#if ZEMTRA_CLI_HAS_PNG
#include "display/DensityPicture.h"
#include "display/FigurePictures.h"
#include "display/GraphPicture.h"
#include "files/PrintPdf.h"
#endif

namespace {

using namespace std::chrono_literals;

// While a reply is awaited the link polls the driver; a short sleep keeps that
// from spinning a core. Between acquisition polls the tool sleeps a little longer:
// at 4800 records per second 32 records take 6.7 ms to arrive.
constexpr auto kReplyPollSleep = 200us;
constexpr auto kAcquirePollSleep = 2ms;

constexpr const char* kDensityFailure = "the noise density could not be written";
constexpr const char* kSamplesCsvFailure = "the samples could not be written";
constexpr const char* kSpectrumCsvFailure = "the spectrum could not be written";
constexpr const char* kHistogramFailure = "the histogram could not be written";
constexpr const char* kAllanFailure = "the Allan deviation could not be written";
#if ZEMTRA_CLI_HAS_PNG
constexpr const char* kPictureFailure = "the picture could not be written";
constexpr const char* kPageFailure = message_text::kPrint;
constexpr const char* kDensityPictureFailure = "the picture of the noise density could not be written";
constexpr const char* kHistogramPictureFailure = "the picture of the histogram could not be written";
constexpr const char* kAllanPictureFailure = "the picture of the Allan deviation could not be written";
#else
constexpr const char* kPictureFailure = "this build has no Qt: --png is not available";
constexpr const char* kPageFailure = "this build has no Qt: --pdf is not available";
constexpr const char* kDensityPictureFailure = "this build has no Qt: --nsd-png is not available";
constexpr const char* kHistogramPictureFailure = "this build has no Qt: --histogram-png is not available";
constexpr const char* kAllanPictureFailure = "this build has no Qt: --allan-png is not available";
#endif

}  // namespace

bool ToolDrawsPictures() {
#if ZEMTRA_CLI_HAS_PNG
  return true;
#else
  return false;
#endif
}

namespace {

// Every line on stderr names the program, so that it can be told from the lines of
// other programs in a script's log.
void Say(const CliIo& io, const std::string& text) { std::fprintf(io.err, "zemtra-cli: %s\n", text.c_str()); }

// A file that could not be read: the message, the path and why ("…: run.DTA: No such
// file or directory", "…: a.prf: line 36: the value of DataCountMax is not valid: …").
void SayUnreadable(const CliIo& io, const char* message, const std::string& path, const std::string& problem) {
  Say(io, Localized(message) + ": " + VisibleText(path) + (problem.empty() ? "" : ": " + problem));
}

// The tool's own parts for one run: the prompter, the writers' system calls (which
// refuse to put a file in place once a signal came) and the session using both.
struct Run {
  explicit Run(const CliOptions& options, const CliIo& io)
      : prompter(options.yes, io.stdinIsTerminal, io.in, io.err, io.interruption),
        calls(*io.fileCalls, io.interruption),
        session(prompter, std::chrono::steady_clock::now, std::chrono::system_clock::now, calls) {}

  CliPrompter prompter;
  InterruptibleCalls calls;
  MeasurementSession session;
  std::optional<NoiseResults> noise;          // the noise density, once analysed (when asked for)
  std::optional<MeasurementFigures> figures;  // the figures of the record, once analysed
};

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
    SayUnreadable(io, message_text::kSettingFile, *options.settingsFile, session.Settings().ReadProblem());
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

WriteResult AutoSaveResult(DataCommands::AutoSaveOutcome outcome) {
  using AutoSaveOutcome = DataCommands::AutoSaveOutcome;
  switch (outcome) {
    case AutoSaveOutcome::Written:
      return WriteResult::Written;
    case AutoSaveOutcome::Declined:
      return WriteResult::Declined;
    case AutoSaveOutcome::NotDue:  // planned only when due, so nothing was written
    case AutoSaveOutcome::Failed:
      break;
  }
  return WriteResult::Failed;
}

WriteResult SpectrumResult(SaveOutcome outcome) {
  switch (outcome) {
    case SaveOutcome::Written:
      return WriteResult::Written;
    case SaveOutcome::Declined:
      return WriteResult::Declined;
    case SaveOutcome::NotChosen:
    case SaveOutcome::NoData:
    case SaveOutcome::Failed:
      break;
  }
  return WriteResult::Failed;
}

// Bytes as a file, written like every other file; none: nothing to write (Failed).
WriteResult WriteBytes(const std::string& path, const std::optional<std::string>& bytes, Run& run) {
  return WriteAsking(path, run.prompter, run.calls, [&bytes](AtomicFile& out) {
    if (!bytes) return false;
    out.Append(*bytes);
    return out.Good();
  });
}

// A text output: to the standard output for "-", otherwise as a file.
WriteResult WriteText(const std::string& path, const std::optional<std::string>& bytes, Run& run, const CliIo& io) {
  if (!ToStdout(path)) return WriteBytes(path, bytes, run);
  if (!bytes) return WriteResult::Failed;
  if (WriteReport(io.out, *bytes)) return WriteResult::Written;
  run.calls.GaveUp(errno);
  return WriteResult::Failed;
}

// The measurement's samples as CSV.
std::optional<std::string> SamplesCsvOf(const Run& run) {
  const SessionState& state = run.session.State();
  if (!state.fDataValid) return std::nullopt;
  return SamplesCsv(state.curData, SamplesPerSecond(static_cast<int>(state.curData.spsSel)));
}

// The measurement's spectrum as CSV.
std::optional<std::string> SpectrumCsvOf(const Run& run) {
  const SessionState& state = run.session.State();
  if (!state.fDataValid) return std::nullopt;
  return SpectrumCsv(state.curData);
}

// The graphs as a PNG picture.
WriteResult WritePicture(const std::string& path, Run& run) {
#if ZEMTRA_CLI_HAS_PNG
  const SessionState& state = run.session.State();
  return WriteBytes(path, RenderGraphsPng(state.curData, nullptr, state.measAdSetting, state.fftSetting), run);
#else
  (void)path;
  (void)run;
  return WriteResult::Failed;
#endif
}

// The printed page as a PDF, written like every other file. It names the data file as
// the window would after a save: with --out, the file written.
WriteResult WritePdf(const CliOptions& options, Run& run) {
#if ZEMTRA_CLI_HAS_PNG
  const SessionState& state = run.session.State();
  SaveSetting save = state.saveSetting;
  if (!options.out.empty()) save.DataFileName = options.out;
  return PrintPdfFile(options.pdf, options.landscape, state.curData, state.measAdSetting, state.fftSetting, save,
                      run.prompter, run.calls);
#else
  (void)options;
  (void)run;
  return WriteResult::Failed;
#endif
}

// The noise density as CSV.
WriteResult WriteDensityCsv(const std::string& path, Run& run, const CliIo& io) {
  if (!run.noise) return WriteResult::Failed;
  return WriteText(path, DensityCsv(run.noise->density, run.noise->deltaF), run, io);
}

// The noise density as a PNG picture.
WriteResult WriteDensityPicture(const std::string& path, Run& run) {
#if ZEMTRA_CLI_HAS_PNG
  if (!run.noise) return WriteResult::Failed;
  return WriteBytes(path, DensityPng(run.noise->density, run.noise->deltaF, run.session.State().fftSetting), run);
#else
  (void)path;
  (void)run;
  return WriteResult::Failed;
#endif
}

// The histogram or the Allan deviation as CSV.
WriteResult WriteFigureCsv(const std::string& path, Run& run, std::string (*csv)(const MeasurementFigures&)) {
  if (!run.figures) return WriteResult::Failed;
  return WriteBytes(path, csv(*run.figures), run);
}

// The histogram or the Allan deviation as a PNG picture.
WriteResult WriteFigurePicture(const std::string& path, Run& run, bool histogram) {
#if ZEMTRA_CLI_HAS_PNG
  if (!run.figures) return WriteResult::Failed;
  const FftSetting& colours = run.session.State().fftSetting;
  return WriteBytes(
      path, histogram ? HistogramPng(run.figures->histogram, colours) : AllanPng(run.figures->allan, colours), run);
#else
  (void)path;
  (void)run;
  (void)histogram;
  return WriteResult::Failed;
#endif
}

// The rows of the figures' files.
void PlanFigureOutputs(const FigureOptions& figures, Run& run, std::vector<OutputFile>& outputs) {
  if (const std::string& path = figures.histogram; !path.empty()) {
    outputs.push_back({"--histogram", "histogram", path, kHistogramFailure, [&run, path] {
                         return WriteFigureCsv(path, run,
                                               [](const MeasurementFigures& f) { return HistogramCsv(f.histogram); });
                       }});
  }
  if (const std::string& path = figures.allanCsv; !path.empty()) {
    outputs.push_back({"--allan-csv", "allan_csv", path, kAllanFailure, [&run, path] {
                         return WriteFigureCsv(path, run,
                                               [](const MeasurementFigures& f) { return AllanCsv(f.allan); });
                       }});
  }
  if (const std::string& path = figures.histogramPng; !path.empty()) {
    outputs.push_back({"--histogram-png", "histogram_png", path, kHistogramPictureFailure,
                       [&run, path] { return WriteFigurePicture(path, run, true); }});
  }
  if (const std::string& path = figures.allanPng; !path.empty()) {
    outputs.push_back({"--allan-png", "allan_png", path, kAllanPictureFailure,
                       [&run, path] { return WriteFigurePicture(path, run, false); }});
  }
}

// Every file the options (and, for measure, the automatic save of the settings) ask
// for, in the order they are written.
std::vector<OutputFile> PlannedOutputs(const CliOptions& options, Run& run, const CliIo& io) {
  std::vector<OutputFile> outputs;
  DataCommands& data = run.session.Data();
  if (options.command == CliCommand::Measure) {
    if (const auto target = data.AutoSaveTarget()) {
      outputs.push_back({"the automatic save (DataFileName)", "autosave", *target, message_text::kDataSave,
                         [&data] { return AutoSaveResult(data.AutoSave()); }});
    }
  }
  if (!options.out.empty()) {
    outputs.push_back({"--out", "data", options.out, message_text::kDataSave,
                       [&data, path = options.out] { return data.ExportData(path); }});
  }
  if (ToStdout(options.fft)) {
    outputs.push_back({"--fft", "fft", options.fft, message_text::kFftSave,
                       [&run, &io, &data] { return WriteText(kStdoutName, data.SpectrumText(kStdoutName), run, io); },
                       true});
  } else if (!options.fft.empty()) {
    outputs.push_back({"--fft", "fft", WithExtensionIfNoDot(options.fft, kFftExtension), message_text::kFftSave,
                       [&data, path = options.fft] { return SpectrumResult(data.WriteSpectrum(path).outcome); }});
  }
  if (const std::string& path = options.csv; !path.empty()) {
    outputs.push_back({"--csv", "csv", path, kSamplesCsvFailure,
                       [&run, &io, path] { return WriteText(path, SamplesCsvOf(run), run, io); }, ToStdout(path)});
  }
  if (const std::string& path = options.spectrumCsv; !path.empty()) {
    outputs.push_back({"--spectrum-csv", "spectrum_csv", path, kSpectrumCsvFailure,
                       [&run, &io, path] { return WriteText(path, SpectrumCsvOf(run), run, io); }, ToStdout(path)});
  }
  if (!options.png.empty()) {
    outputs.push_back(
        {"--png", "png", options.png, kPictureFailure, [&run, path = options.png] { return WritePicture(path, run); }});
  }
  if (!options.pdf.empty()) {
    outputs.push_back({"--pdf", "pdf", options.pdf, kPageFailure, [&run, &options] { return WritePdf(options, run); }});
  }
  if (const std::string& path = options.noise.nsd; !path.empty()) {
    outputs.push_back({"--nsd", "nsd", path, kDensityFailure,
                       [&run, &io, path] { return WriteDensityCsv(path, run, io); }, ToStdout(path)});
  }
  if (const std::string& path = options.noise.nsdPng; !path.empty()) {
    outputs.push_back({"--nsd-png", "nsd_png", path, kDensityPictureFailure,
                       [&run, path] { return WriteDensityPicture(path, run); }});
  }
  PlanFigureOutputs(options.figures, run, outputs);
  return outputs;
}

std::vector<InputFile> InputsOf(const CliOptions& options) {
  std::vector<InputFile> inputs;
  if (options.command == CliCommand::Analyze) inputs.push_back({"the data file", options.file});
  if (options.settingsFile) inputs.push_back({"--settings", *options.settingsFile});
  return inputs;
}

// False (and the reason) when two of the files name the same one.
bool DistinctFiles(const CliOptions& options, const std::vector<OutputFile>& outputs, const CliIo& io) {
  const std::string conflict = SameFileConflict(InputsOf(options), outputs);
  if (conflict.empty()) return true;
  Say(io, conflict);
  return false;
}

int StartFailure(const MeasurementSession::StartResult& start, const CliIo& io) {
  using StartOutcome = MeasurementSession::StartOutcome;
  switch (start.outcome) {
    case StartOutcome::InvalidCount:  // only a settings file can give one
      Say(io, Localized(message_text::kSettingFile));
      return kExitInvalidSettings;
    case StartOutcome::NotFound:
      Say(io, Localized(message_text::kNotFound, {kUnitName}));
      break;
    case StartOutcome::NoResponse:
      Say(io, Localized(message_text::kNoResponse, {kUnitName}));
      break;
    case StartOutcome::SetupFailed:
      Say(io, std::string("the unit's set-up failed at step '") + SetupStepName(start.setup.failedStep) + "'");
      break;
    case StartOutcome::Stopped:  // only a signal stops the set-up here
      Say(io, Localized(status_text::kStopped));
      return io.interruption->ExitCode();
    case StartOutcome::StartRefused:
    case StartOutcome::Started:
      Say(io, Localized(message_text::kCommandSend));
      break;
  }
  return kExitUnit;
}

// The noise analysis the options ask for, for records of `samples` at `rate` per
// second (none when they ask for none). False (and the problem, naming the range)
// when the records cannot give it.
bool PrepareNoise(const NoiseOptions& options, const FftSetting& fft, int samples, int rate,
                  std::optional<NoiseAnalysis>& noise, const CliIo& io) {
  if (!options.Wanted()) return true;
  if (const std::string problem = NoiseProblem(options, samples, rate); !problem.empty()) {
    Say(io, problem);
    return false;
  }
  noise.emplace(options, fft, samples, rate);
  return true;
}

// Polls until every sample is in, with progress on stderr over the whole run (done:
// the samples of the acquisitions before this one). kExitOk when all are in.
int Acquire(MeasurementSession& session, Progress& progress, int done, const CliIo& io) {
  using PollOutcome = MeasurementSession::PollOutcome;
  for (;;) {
    if (Interrupted(io.interruption)) {
      session.Stop();
      progress.Finish();
      Say(io, Localized(status_text::kStopped));
      return io.interruption->ExitCode();
    }
    const PollOutcome outcome = session.Poll();
    if (const std::string warning = session.TakeJournalWarning(); !warning.empty()) Say(io, warning);
    switch (outcome) {
      case PollOutcome::Waiting:
        std::this_thread::sleep_for(kAcquirePollSleep);
        break;
      case PollOutcome::Progress:
        progress.Update(done + session.SampleIndex());
        break;
      case PollOutcome::ReadFailed:  // also a unit that sends no records (stall)
      case PollOutcome::NotRunning:
        progress.Finish();
        Say(io, Localized(status_text::kMeasureError));
        return kExitRead;
      case PollOutcome::AllIn:
        progress.Update(done + session.SampleIndex());
        return kExitOk;
    }
  }
}

// The report on stdout; false (and why) when it was lost.
bool PrintReport(const CliIo& io, const std::string& text) {
  if (WriteReport(io.out, text)) return true;
  Say(io, std::string("the report could not be written: ") + std::strerror(errno));
  return false;
}

// Writes the files, prints the report and gives the exit code: a signal's, then a lost
// report's, then a failed file's.
int WriteAndReport(const CliOptions& options, const std::vector<OutputFile>& outputs, Run& run, int averages,
                   const CliIo& io) {
  const auto takeError = [&run] { return run.calls.TakeError(); };
  MeasurementReport report{ResultsOf(run.session.State()), WriteOutputs(outputs, io.interruption, io.err, takeError),
                           averages, run.noise, run.figures, options.figures};
  bool reported = true;
  if (AnyToStdout(outputs)) {
    // stdout carries a file: the summary goes to stderr, line by line (--json is
    // refused with such an output).
    std::istringstream lines(ReportText(report));
    for (std::string line; std::getline(lines, line);) Say(io, line);
  } else {
    reported = PrintReport(io, options.json ? ReportJson(report) : ReportText(report));
  }
  if (Interrupted(io.interruption)) {
    Say(io, "interrupted: no further file was written");
    return io.interruption->ExitCode();
  }
  if (!reported) return kExitReportLost;
  return AnyFileFailed(report.files) ? kExitFile : kExitOk;
}

}  // namespace

bool WriteReport(std::FILE* out, const std::string& text) {
  std::clearerr(out);
  const bool all = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  // The flush shows a device that took nothing (a full one, a closed descriptor).
  return std::fflush(out) == 0 && all && std::ferror(out) == 0;
}

int RunMeasure(const CliOptions& options, const CliIo& io) {
  Run run(options, io);
  MeasurementSession& session = run.session;
  if (!PrepareMeasurement(options, session, io)) return kExitInvalidSettings;
  session.SetJournalDirectory(JournalDirectory());
  const std::vector<OutputFile> outputs = PlannedOutputs(options, run, io);
  if (!DistinctFiles(options, outputs, io)) return kExitUsage;
  const SessionState& state = session.State();
  const int samples = state.fftSetting.DataCountMax;
  const int rate = SamplesPerSecond(state.editAdSetting.spsSel);
  // Checked before the unit is touched, so that no measurement is wasted on a band it
  // cannot reach. A count the analysis cannot take is refused by Start.
  std::optional<NoiseAnalysis> noise;
  if (IsAnalysableCount(samples) && !PrepareNoise(options.noise, state.fftSetting, samples, rate, noise, io)) {
    return kExitUsage;
  }

  const UnitDriver chosen = MakeUnitDriver(options.simulate, options.device, StderrDriverLog("zemtra-cli"));
  if (!chosen.driver) {
    Say(io, chosen.error);
    return kExitUsage;
  }
  if (Interrupted(io.interruption)) return io.interruption->ExitCode();
  // A signal during the set-up's reply waits ends the set-up at once.
  bool settingUp = true;
  bool stopSent = false;
  TADC unit(*chosen.driver, [&] {
    if (settingUp && !stopSent && Interrupted(io.interruption)) {
      stopSent = true;
      session.Stop();
    }
    std::this_thread::sleep_for(kReplyPollSleep);
  });
  const int averages = options.noise.average;
  std::optional<Progress> progress;
  PowerAverage spectra;
  for (int acquisition = 0; acquisition < averages; ++acquisition) {
    settingUp = true;
    stopSent = false;
    const auto start = session.Start(unit, {acquisition, averages});
    settingUp = false;
    if (start.outcome != MeasurementSession::StartOutcome::Started) {
      if (progress) progress->Finish();
      return StartFailure(start, io);
    }
    if (!progress) {
      if (!options.json) Say(io, VisibleText(state.unitInfo));
      progress.emplace(samples * averages, rate, io.stderrIsTerminal, io.err);
    }
    if (const int acquired = Acquire(session, *progress, acquisition * samples, io); acquired != kExitOk) {
      return acquired;
    }
    if (session.Finish() == MeasurementSession::FinishOutcome::LevelError) {
      progress->Finish();
      Say(io, Localized(message_text::kInputLevel));
      return kExitLevel;
    }
    spectra.Add(std::span<const float>(state.curData.spectrum, static_cast<std::size_t>(samples / 2)));
    if (noise) noise->Add(state.curData);
  }
  progress->Finish();
  if (spectra.Count() > 1) session.AdoptAveragedSpectrum(spectra);
  if (noise) run.noise = noise->Results();
  run.figures = FiguresOf(state.curData, state.measAdSetting);  // of the last acquisition, as --out keeps it

  // The automatic save of the settings, then the files asked for on the command line.
  // A failed file keeps the measurement: the other files and the report follow.
  const int exitCode = WriteAndReport(options, outputs, run, averages, io);
  if (exitCode == kExitOk && !options.json) Say(io, Localized(status_text::kFinished));
  return exitCode;
}

int RunAnalyze(const CliOptions& options, const CliIo& io) {
  Run run(options, io);
  MeasurementSession& session = run.session;
  const std::vector<OutputFile> outputs = PlannedOutputs(options, run, io);
  if (!DistinctFiles(options, outputs, io)) return kExitUsage;
  // Refused as well: a file that is not a regular one, and a readable file whose
  // sample count gives no spectrum.
  if (session.Data().LoadData(options.file) != DataCommands::LoadOutcome::Loaded) {
    SayUnreadable(io, message_text::kDataFile, options.file, session.Data().LoadProblem());
    return kExitFile;
  }
  FftSetting fft = session.State().fftSetting;
  if (options.settingsFile) {
    const auto records = session.Settings().ReadSettingFile(*options.settingsFile);
    if (!records) {
      SayUnreadable(io, message_text::kSettingFile, *options.settingsFile, session.Settings().ReadProblem());
      return kExitInvalidSettings;
    }
    fft = records->fft;
  }
  ApplyAnalysis(options, session, fft);
  const SessionState& state = session.State();
  std::optional<NoiseAnalysis> noise;
  if (!PrepareNoise(options.noise, state.fftSetting, state.curData.ad_dnum,
                    SamplesPerSecond(static_cast<int>(state.curData.spsSel)), noise, io)) {
    return kExitUsage;
  }
  if (noise) {
    noise->Add(state.curData);
    run.noise = noise->Results();
  }
  run.figures = FiguresOf(state.curData, state.measAdSetting);
  return WriteAndReport(options, outputs, run, 1, io);
}

int RunCommand(const CliOptions& options, const CliIo& io) {
  // Refused before any work, so no measurement is made whose outputs could not all be written.
  if (const char* picture = PictureOption(options); picture != nullptr && !ToolDrawsPictures()) {
    Say(io, std::string(picture) + " needs the Qt widgets, which this build of zemtra-cli lacks: it draws no pictures nor PDF pages");
    return kExitUsage;
  }
  switch (options.command) {
    case CliCommand::Measure:
      return RunMeasure(options, io);
    case CliCommand::Analyze:
      return RunAnalyze(options, io);
    case CliCommand::Settings:
      return RunSettings(options, io);
    case CliCommand::Scan:
      return RunScan(io);
    case CliCommand::Recover:
      return RunRecover(options, io);
  }
  return kExitUsage;
}

int RunSettings(const CliOptions& options, const CliIo& io) {
  Run run(options, io);
  const auto records = run.session.Settings().ReadSettingFile(options.file);
  if (!records) {
    SayUnreadable(io, message_text::kSettingFile, options.file, run.session.Settings().ReadProblem());
    return kExitInvalidSettings;
  }
  std::string text;
  for (const auto& [key, value] : TmyFile::SettingFields(records->ad, records->save, records->fft)) {
    text += key + ": " + VisibleText(value) + "\n";
  }
  return PrintReport(io, text) ? kExitOk : kExitReportLost;
}
