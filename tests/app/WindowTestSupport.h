// The main window offscreen against the simulated unit: the unit's clock, the link's
// waits and the stall rule run on fake time that every wait and every poll tick
// moves; a scripted prompter answers the boxes; the default settings file lives in a
// temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "adc/SimulatedBench.h"
#include "app/Zemtra_main.h"
#include "files/FileTestSupport.h"
#include "ui/StatusBar.h"

// 1 mV at 600 Hz without converter noise: exactly on line 128 of 1024 samples at 4800 per second.
inline constexpr const char* kQuietSine = "noise=off,ch0=sine:600:1e-3";
// 2026/12/08 19:50:07 UTC.
inline const std::chrono::system_clock::time_point kWallTime{std::chrono::seconds(1796759407)};

// The simulated unit behind a tap that logs the wire, can refuse the start command and
// reports the abort command as it goes out. The unit runs on a clock the test moves.
class WindowUnit : public TapDriver {
 public:
  WindowUnit(const std::string& config, const SimClock& clock) : WindowUnit(SimulatedBench::MakeUnit(config, clock)) {}

  bool refuseStart = false;
  std::function<void()> onAbort;

  // Whether this command line (without its CR) went out.
  bool Sent(const std::string& line) const { return std::ranges::find(wire, line + '\r') != wire.end(); }
  bool IsOpen() const { return unit_->IsOpen(); }

  FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override {
    const std::string_view line(static_cast<const char*>(bytes), n);
    if (line == "AX\r" && onAbort) onAbort();
    if (refuseStart && line.starts_with('A') && line != "AX\r") {
      wire.emplace_back(line);
      return FT_IO_ERROR;
    }
    return TapDriver::Write(bytes, n, written);
  }

 private:
  explicit WindowUnit(std::unique_ptr<SimulatedUnit> unit) : TapDriver(*unit), unit_(std::move(unit)) {}

  std::unique_ptr<SimulatedUnit> unit_;
};

class WindowTest : public ::testing::Test {
 protected:
  using Phase = TFormMain::Phase;

  // The default settings file with 1024 samples and these settings.
  void WriteDefaults(FftSetting fft = {}, const SaveSetting& save = {}) {
    fft.DataCountSel = 0;
    fft.DataCountMax = 1024;
    ASSERT_TRUE(TmyFile(prompter).SaveSettingFile(settingsPath, "Zemtraini", fft, save, AdUnitSetting{}));
  }

  // A window on a unit of this CONFIG, after its start-up work.
  void Open(const std::string& config = kQuietSine) {
    window.reset();
    unit = std::make_unique<WindowUnit>(config, clock);
    MainFormEnvironment env(*unit);
    env.settingsPath = settingsPath;
    env.prompter = promptWith;
    env.waitIdle = [this] {
      Advance();
      ++waits;
      if (onWait) onWait(waits);
    };
    env.steadyClock = time.Clock();
    env.wallClock = [] { return kWallTime; };
    window = std::make_unique<TFormMain>(std::move(env));
    window->StartupWork();
  }

  void Advance() {
    time.now += FakeTime::kStep;
    clock.Advance(FakeTime::kStep);
  }
  void Press() { window->Controls().MeasureStartBtn->click(); }
  // Ticks the poll timer (as it would fire) until the sequencer leaves Measuring.
  void Tick(int ticks = 100'000) {
    for (int i = 0; i < ticks && window->CurrentPhase() == Phase::Measuring; ++i) {
      window->AcquireTick();
      Advance();
    }
  }
  void Measure() {
    Press();
    Tick();
  }
  std::string Panel(int index) const { return window->Controls().StatusBar1->PanelText(index).toStdString(); }
  // Whether any object of the window has a timer running.
  bool AnythingTicks() const {
    auto* dispatcher = QAbstractEventDispatcher::instance();
    for (QObject* object : window->findChildren<QObject*>()) {
      if (!dispatcher->registeredTimers(object).isEmpty()) return true;
    }
    return false;
  }

  TempDir dir;
  fs::path settingsPath = dir / "Zemtraini.prf";
  FakeTime time;
  VirtualSimClock clock;
  ScriptedPrompter prompter;
  DialogPrompter* promptWith = &prompter;  // the window's prompter
  int waits = 0;
  std::function<void(int)> onWait;  // called with the number of each reply-wait turn
  std::unique_ptr<WindowUnit> unit;
  std::unique_ptr<TFormMain> window;
};
