#include "cli/Commands.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "adc/Ad7190.h"
#include "analysis/Analysis.h"
#include "app/FileNames.h"
#include "app/MeasurementRun.h"
#include "cli/CliPrompter.h"
#include "cli/Progress.h"
#include "cli/Report.h"
#include "display/FftSettingRules.h"
#include "drivers/DeviceSelect.h"
#include "drivers/SimulatedUnit.h"
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
// The unit acknowledges no start and may refuse it ("NG") or stop streaming; without a
// limit the tool would then wait for ever. No record for this many poll periods, and
// at least kStallFloor, ends the measurement as a read failure.
constexpr int kStallPolls = 20;
constexpr auto kStallFloor = 1s;

// How long the acquisition may go without a record at a data-rate index.
std::chrono::steady_clock::duration StallLimit(int spsSel) {
  const std::chrono::duration<double> pollPeriod(static_cast<double>(SamplesPerRead(spsSel)) /
                                                 SamplesPerSecond(spsSel));
  return std::max<std::chrono::steady_clock::duration>(
      kStallFloor, std::chrono::duration_cast<std::chrono::steady_clock::duration>(pollPeriod * kStallPolls));
}

// Everything one command works on: the records and the arrays they point to.
struct Workspace {
  Workspace() { buffers->Bind(data); }

  AdUnitSetting ad;
  FftSetting fft;
  SaveSetting save;
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  std::unique_ptr<AnalysisWork> work = std::make_unique<AnalysisWork>();
  MeasureData data;
};

void Say(const CliIo& io, const std::string& text) { std::fprintf(io.err, "%s\n", text.c_str()); }

// The platform's short date and long time: 2026/12/08 19:50:07.
std::string NowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::array<char, 32> text{};
  const auto n = std::strftime(text.data(), text.size(), "%Y/%m/%d %H:%M:%S", &local);
  return std::string(text.data(), n);
}

// Starts the records from a settings file when one is given; false (and the
// catalogue's text) when it is invalid.
bool LoadStartSettings(const CliOptions& options, Workspace& ws, Prompter& prompter, const CliIo& io) {
  if (!options.settingsFile) return true;
  TmyFile file(prompter);
  if (!file.LoadSettingFile(*options.settingsFile, kSettingFileHeader, ws.fft, ws.save, ws.ad) ||
      !CheckSetting(ws.fft)) {
    Say(io, message_text::kSettingFile);
    return false;
  }
  return true;
}

bool WasWritten(bool existed, const CliPrompter& prompter) { return !existed || prompter.LastAnswer(); }

// A data or spectrum file through the file writer, recorded in the report.
// False (and the catalogue's text) when writing failed.
bool WriteDataOrFft(bool fft, const std::string& path, Workspace& ws, CliPrompter& prompter, MeasurementReport& report,
                    const CliIo& io) {
  TmyFile file(prompter);
  SaveSetting save = ws.save;
  save.DataFileName = path;
  std::error_code ec;
  const bool existed = std::filesystem::exists(path, ec);
  const bool ok = fft ? file.SaveFftFile(kFftFileHeader, ws.ad, ws.data, ws.fft, save)
                      : file.SaveDataFile(kDataFileHeader, ws.ad, ws.data, ws.fft, save);
  if (!ok) {
    Say(io, fft ? message_text::kFftSave : message_text::kDataSave);
    return false;
  }
  report.files.push_back({fft ? "fft" : "data", path, WasWritten(existed, prompter)});
  return true;
}

bool WritePicture(const std::string& path, Workspace& ws, MeasurementReport& report, const CliIo& io) {
#if ZEMTRA_CLI_HAS_PNG
  if (RenderGraphsPng(ws.data, nullptr, ws.ad, ws.fft, path)) {
    report.files.push_back({"png", path, true});
    return true;
  }
  Say(io, "the picture could not be written: " + path);
#else
  (void)ws;
  (void)report;
  Say(io, "this build has no Qt: --png is not available (" + path + ")");
#endif
  return false;
}

// The printed page as a PDF; a data file written with --out is the name it shows.
bool WritePdf(const CliOptions& options, Workspace& ws, CliPrompter& prompter, MeasurementReport& report,
              const CliIo& io) {
#if ZEMTRA_CLI_HAS_PNG
  SaveSetting save = ws.save;
  if (!options.out.empty()) save.DataFileName = options.out;
  const PrintResult result = PrintPdfFile(options.pdf, options.landscape, ws.data, ws.ad, ws.fft, save, prompter);
  if (result.status == PrintStatus::Failed) {
    Say(io, result.message + ": " + options.pdf);
    return false;
  }
  report.files.push_back({"pdf", options.pdf, result.status == PrintStatus::Printed});
  return true;
#else
  (void)ws;
  (void)prompter;
  (void)report;
  Say(io, "this build has no Qt: --pdf is not available (" + options.pdf + ")");
  return false;
#endif
}

// The optional outputs of measure and analyze: data file, spectrum file, picture, page.
int WriteOutputs(const CliOptions& options, Workspace& ws, CliPrompter& prompter, MeasurementReport& report,
                 const CliIo& io) {
  if (!options.out.empty() && !WriteDataOrFft(false, options.out, ws, prompter, report, io)) return kExitFile;
  if (!options.fft.empty() &&
      !WriteDataOrFft(true, WithExtensionIfNoDot(options.fft, kFftExtension), ws, prompter, report, io)) {
    return kExitFile;
  }
  if (!options.png.empty() && !WritePicture(options.png, ws, report, io)) return kExitFile;
  if (!options.pdf.empty() && !WritePdf(options, ws, prompter, report, io)) return kExitFile;
  return kExitOk;
}

void PrintReport(const CliOptions& options, const MeasurementReport& report, const CliIo& io) {
  const std::string text = options.json ? ReportJson(report) : ReportText(report);
  std::fputs(text.c_str(), io.out);
  std::fflush(io.out);  // the summary before any closing notice on stderr
}

std::unique_ptr<D2xx> MakeDriver(const CliOptions& options, const CliIo& io) {
  std::string error;
  if (options.simulate) {
    auto driver = MakeSimulatedDriver(*options.simulate, error);
    if (!driver) Say(io, "--simulate: " + error);
    return driver;
  }
  const auto choice = ParseDeviceSpec(options.device.value_or(""));
  if (!choice.device) {
    Say(io, "--device: " + choice.error);
    return nullptr;
  }
  return MakeRealUnitDriver(*choice.device);
}

int StartFailure(const MeasurementRun::StartResult& start, const CliIo& io) {
  switch (start.outcome) {
    case MeasurementRun::StartOutcome::InvalidCount:  // only a settings file can give one
      Say(io, message_text::kSettingFile);
      return kExitInvalidSettings;
    case MeasurementRun::StartOutcome::NotFound:
      Say(io, std::string(kUnitName) + message_text::kNotFoundSuffix);
      break;
    case MeasurementRun::StartOutcome::NoResponse:
      Say(io, std::string(kUnitName) + message_text::kNoResponseSuffix);
      break;
    case MeasurementRun::StartOutcome::SetupFailed:
      Say(io, std::string("the unit's set-up failed at step '") + SetupStepName(start.setup.failedStep) + "'");
      break;
    default:
      Say(io, message_text::kCommandSend);
      break;
  }
  return kExitUnit;
}

}  // namespace

int RunMeasure(const CliOptions& options, const CliIo& io) {
  Workspace ws;
  CliPrompter prompter(options.yes, io.stdinIsTerminal, stdin, io.err);
  if (!LoadStartSettings(options, ws, prompter, io)) return kExitInvalidSettings;
  ApplyUnitOptions(options, ws.ad, ws.fft);
  ApplyAnalysisOptions(options, ws.fft);

  auto driver = MakeDriver(options, io);
  if (!driver) return kExitUsage;
  TADC unit(*driver, [] { std::this_thread::sleep_for(kReplyPollSleep); });
  TmyFFT fft(ws.fft);
  MeasurementRun run(unit, fft, *ws.work);

  const auto start = run.Start(ws.ad, ws.fft.DataCountMax, ws.data);
  if (start.outcome != MeasurementRun::StartOutcome::Started) return StartFailure(start, io);
  const std::string unitInfo = UnitInfoText(start.setup.unitName, start.setup.version, start.setup.description);
  ws.save.StartDateTime = NowText();
  if (!options.json) Say(io, unitInfo);

  Progress progress(ws.fft.DataCountMax, SamplesPerSecond(ws.ad.spsSel), io.stderrIsTerminal, io.err);
  const auto stallLimit = StallLimit(ws.ad.spsSel);
  auto lastRecord = std::chrono::steady_clock::now();
  for (bool done = false; !done;) {
    if (io.interrupted != nullptr && io.interrupted->load()) {
      run.Stop();
      progress.Finish();
      Say(io, status_text::kStopped);
      return kExitInterrupted;
    }
    switch (run.Step()) {
      case MeasurementRun::StepOutcome::Waiting:
        if (std::chrono::steady_clock::now() - lastRecord > stallLimit) {
          run.Stop();
          progress.Finish();
          Say(io, status_text::kMeasureError);
          return kExitRead;
        }
        std::this_thread::sleep_for(kAcquirePollSleep);
        break;
      case MeasurementRun::StepOutcome::Progress:
        lastRecord = std::chrono::steady_clock::now();
        progress.Update(run.SampleIndex());
        break;
      case MeasurementRun::StepOutcome::ReadFailed:
      case MeasurementRun::StepOutcome::NotRunning:
        progress.Finish();
        Say(io, status_text::kMeasureError);
        return kExitRead;
      case MeasurementRun::StepOutcome::AllIn:
        done = true;
        break;
    }
  }
  progress.Update(run.SampleIndex());
  progress.Finish();

  if (run.Finish(ws.fft) == MeasurementRun::FinishOutcome::LevelError) {
    Say(io, message_text::kInputLevel);
    return kExitLevel;
  }
  ws.ad.sinc3 = ws.data.sinc3;
  const float deviation = CodeDeviation(ws.data);
  MeasurementReport report = BuildReport(ws.data, ws.ad, ws.fft, ws.save, deviation);
  report.unitInfo = unitInfo;

  // The automatic save of the settings, then the files asked for on the command line.
  // A failed automatic save keeps the measurement: the other files and the report follow.
  const bool autoSaved = ws.save.fSaveDataFile != 1 || ws.save.DataFileName.empty() ||
                         WriteDataOrFft(false, ws.save.DataFileName, ws, prompter, report, io);
  const int written = WriteOutputs(options, ws, prompter, report, io);
  PrintReport(options, report, io);
  const int exitCode = autoSaved ? written : kExitFile;
  if (exitCode == kExitOk && !options.json) Say(io, status_text::kFinished);
  return exitCode;
}

int RunAnalyze(const CliOptions& options, const CliIo& io) {
  Workspace ws;
  CliPrompter prompter(options.yes, io.stdinIsTerminal, stdin, io.err);
  TmyFile file(prompter);
  if (!file.LoadDataFile(options.file, kDataFileHeader, ws.data, ws.fft, ws.save, ws.ad)) {
    Say(io, message_text::kDataFile);
    return kExitFile;
  }
  if (!IsAnalysableCount(ws.data.ad_dnum)) {  // readable, but no spectrum can be computed
    Say(io, message_text::kDataFile);
    return kExitFile;
  }
  ws.data.spsSel = static_cast<std::uint32_t>(ws.ad.spsSel);
  ws.data.sinc3 = ws.ad.sinc3;
  ws.save.DataFileName = options.file;
  if (options.settingsFile) {
    Workspace fromSettings;
    if (!LoadStartSettings(options, fromSettings, prompter, io)) return kExitInvalidSettings;
    ws.fft = fromSettings.fft;
  }
  ApplyAnalysisOptions(options, ws.fft);

  TmyFFT fft(ws.fft);
  CodeToVolt(ws.data, ws.ad);
  AnalyseSpectrum(fft, ws.fft, ws.data, *ws.work);
  const float deviation = CodeDeviation(ws.data);
  MeasurementReport report = BuildReport(ws.data, ws.ad, ws.fft, ws.save, deviation);
  const int written = WriteOutputs(options, ws, prompter, report, io);
  PrintReport(options, report, io);
  return written;
}

int RunSettings(const CliOptions& options, const CliIo& io) {
  Workspace ws;
  CliPrompter prompter(false, false, stdin, io.err);
  TmyFile file(prompter);
  if (!file.LoadSettingFile(options.file, kSettingFileHeader, ws.fft, ws.save, ws.ad) || !CheckSetting(ws.fft)) {
    Say(io, message_text::kSettingFile);
    return kExitInvalidSettings;
  }
  std::string text;
  for (const auto& [key, value] : TmyFile::SettingFields(ws.ad, ws.save, ws.fft)) text += key + ": " + value + "\n";
  std::fputs(text.c_str(), io.out);
  return kExitOk;
}
