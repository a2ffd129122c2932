// 連続計測 in the main window on the real clock: 1024 samples at 4800 per second from
// the simulated unit (0.21 s each), each one set up, acquired, analysed and drawn
// before the next starts. Reported: the acquisitions finished in the run, how much of
// the run the unit spent streaming (1 = no time between two acquisitions), the mean
// gap between two, and the process's CPU share of one core (the simulated unit, which
// runs in this process, included).
#include <benchmark/benchmark.h>

#include <QAction>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "BenchApp.h"
#include "app/Zemtra_main.h"
#include "drivers/SimulatedUnit.h"
#include "files/Myfile.h"
#include "model/UnitTables.h"
#include "ui/SilentPrompter.h"

namespace {

constexpr int kSamples = 1024;
constexpr int kSpsSel = 12;  // 4800 per second
constexpr auto kRunFor = std::chrono::seconds(20);

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_ContinuousMeasurement(benchmark::State& state) {
  BenchApp();
  std::string error;
  const std::optional<SimConfig> config = ParseSimulatedConfig("clock=real", error);
  if (!config) {
    state.SkipWithError(error.c_str());
    return;
  }
  std::string pattern = (std::filesystem::temp_directory_path() / "zemtra-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    state.SkipWithError("no scratch directory");
    return;
  }
  const std::filesystem::path dir = pattern;
  SilentPrompter prompter;
  FftSetting fft;
  fft.DataCountSel = 0;
  fft.DataCountMax = kSamples;
  AdUnitSetting ad;
  ad.spsSel = kSpsSel;
  if (!TmyFile(prompter).SaveSettingFile(dir / "Zemtraini.prf", kSettingFileHeader, fft, SaveSetting{}, ad)) {
    state.SkipWithError("the settings file could not be written");
    return;
  }
  for (auto _ : state) {
    SimulatedUnit unit(*config);
    MainFormEnvironment env(unit);
    env.settingsPath = dir / "Zemtraini.prf";
    // The window's own boxes: none is due in this run.
    TFormMain window(std::move(env));
    window.StartupWork();
    QEventLoop loop;
    QTimer::singleShot(kRunFor, &loop, &QEventLoop::quit);
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = CpuSeconds();
    window.Menu().MenuContinuousMeasure->trigger();
    loop.exec();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = CpuSeconds() - cpuStart;
    const int finished = window.Session().Series().Finished();
    window.Controls().MeasureStartBtn->click();  // the stop ends it
    const double streaming = finished * static_cast<double>(kSamples) / SamplesPerSecond(kSpsSel);
    state.counters["acquisitions"] = finished;
    state.counters["streaming_share"] = streaming / wall;
    state.counters["gap_ms"] = finished > 0 ? (wall - streaming) / finished * 1e3 : 0.0;
    state.counters["cpu_percent"] = 100.0 * cpu / wall;
    if (window.CurrentPhase() != TFormMain::Phase::Idle) state.SkipWithError("the stop did not end it");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ContinuousMeasurement)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
