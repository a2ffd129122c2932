// The end of a measurement in the main window: from the arrival of the last records to
// the spectrum, waveform, labels, results and status painted (automatic saving off), on
// the default 4800 samples per second with the demonstration signal. And the update of
// the noise analysis window after such a measurement: figures, density, histogram,
// Allan deviation and the window's repaint.
#include <benchmark/benchmark.h>

#include <QPushButton>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "BenchApp.h"
#include "app/NoiseAnalysisWindow.h"
#include "app/Zemtra_main.h"
#include "drivers/SimulatedUnit.h"
#include "model/UnitTables.h"

namespace {

// Nobody watches: no box, every question declined, every dialog cancelled.
class QuietPrompter : public DialogPrompter {
 public:
  void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  bool AskOkCancel(const std::string&, const std::string&, MessageIcon) override { return false; }
  std::string ChooseOpenFile(const std::string&, const std::string&, const std::string&) override { return {}; }
  std::string ChooseSaveFile(const std::string&, const std::string&, const std::string&) override { return {}; }
  std::optional<std::int32_t> ChooseColor(std::int32_t) override { return std::nullopt; }
};

std::filesystem::path ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zemtra-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::filesystem::filesystem_error("no scratch directory for the window benchmark", pattern,
                                            std::error_code(errno, std::generic_category()));
  }
  return pattern;
}

// The time between two samples at the default 4800 per second.
std::chrono::nanoseconds DefaultSamplePeriod() {
  constexpr int kSpsSel = 12;
  return std::chrono::nanoseconds(1'000'000'000 / SamplesPerSecond(kSpsSel));
}

// The simulated unit's demonstration signal; none, with the benchmark skipped, when it
// cannot be set up.
std::optional<SimConfig> DemonstrationOrSkip(benchmark::State& state) {
  std::string error;
  std::optional<SimConfig> demonstration = ParseSimulatedConfig("", error);
  if (!demonstration) state.SkipWithError(error.c_str());
  return demonstration;
}

// A window measuring from its own simulated unit on a clock the benchmark moves.
class Run {
 public:
  Run(const SimConfig& config, const std::filesystem::path& settingsPath, DialogPrompter& prompter)
      : unit(config, clock), window(Environment(settingsPath, prompter)) {}

  VirtualSimClock clock;
  SimulatedUnit unit;
  TFormMain window;

 private:
  MainFormEnvironment Environment(const std::filesystem::path& settingsPath, DialogPrompter& prompter) {
    MainFormEnvironment env(unit);
    env.settingsPath = settingsPath;  // written with the defaults: 65536 samples
    env.prompter = &prompter;
    env.waitIdle = [this] { clock.Advance(std::chrono::milliseconds(1)); };
    return env;
  }
};

void BM_FinishMeasurement(benchmark::State& state) {
  BenchApp();
  const int samples = static_cast<int>(state.range(0));
  const auto period = DefaultSamplePeriod();
  const std::optional<SimConfig> demonstration = DemonstrationOrSkip(state);
  if (!demonstration) return;
  const std::filesystem::path dir = ScratchDirectory();
  QuietPrompter prompter;
  std::unique_ptr<Run> run;
  for (auto _ : state) {
    state.PauseTiming();
    run.reset();  // the last window's teardown is no part of a finish
    run = std::make_unique<Run>(*demonstration, dir / "Zemtraini.prf", prompter);
    TFormMain& window = run->window;
    window.StartupWork();
    window.Controls().MeasureStartBtn->click();
    // Every record is in but those of the last read.
    run->clock.Advance(period * (samples - 1));
    while (window.Session().SampleIndex() < samples - static_cast<int>(TADC::kMaxRecordsPerRead)) window.AcquireTick();
    run->clock.Advance(period * TADC::kMaxRecordsPerRead);
    QCoreApplication::sendPostedEvents();  // the progress repaints are not the finish's
    state.ResumeTiming();

    window.AcquireTick();  // the last records, then the finish
    // The repaints the finish asked for (no timer runs here, so no poll slips in).
    QCoreApplication::sendPostedEvents();

    if (window.CurrentPhase() != TFormMain::Phase::Idle || !window.State().fDataValid) {
      state.SkipWithError("the measurement did not finish");
      break;
    }
  }
  run.reset();
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_FinishMeasurement)->Arg(65536)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_AnalysisWindowUpdate(benchmark::State& state) {
  BenchApp();
  const int samples = static_cast<int>(state.range(0));
  const auto period = DefaultSamplePeriod();
  const std::optional<SimConfig> demonstration = DemonstrationOrSkip(state);
  if (!demonstration) return;
  const std::filesystem::path dir = ScratchDirectory();
  QuietPrompter prompter;
  {
    Run run(*demonstration, dir / "Zemtraini.prf", prompter);
    TFormMain& window = run.window;
    window.StartupWork();
    window.Controls().MeasureStartBtn->click();
    run.clock.Advance(period * samples);
    while (window.CurrentPhase() == TFormMain::Phase::Measuring) {
      window.AcquireTick();
      run.clock.Advance(period * TADC::kMaxRecordsPerRead);  // the last records come after the set-up's time
    }
    window.MenuNoiseAnalysisClick();
    TFormNoiseAnalysis& analysis = *window.NoiseAnalysis();
    analysis.Refresh();
    if (!window.State().fDataValid || window.State().curData.ad_dnum != samples || !analysis.Analysis().current) {
      state.SkipWithError("the measurement did not finish");
    } else {
      for (auto _ : state) {
        analysis.Refresh();
        analysis.repaint();
      }
    }
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_AnalysisWindowUpdate)->Arg(65536)->Unit(benchmark::kMillisecond);

}  // namespace
