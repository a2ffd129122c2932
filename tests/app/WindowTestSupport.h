// The main window offscreen against the simulated unit: the unit's clock, the link's
// waits and the stall rule run on fake time that every wait and every poll tick
// moves; a scripted prompter answers the boxes; the default settings file lives in a
// temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QPushButton>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "QtTestApp.h"
#include "ScriptedPrompter.h"
#include "SimulatedTap.h"
#include "app/Zemtra_main.h"
#include "files/FileTestSupport.h"
#include "ui/StatusBar.h"
#include "ui/UiFont.h"

class WindowTest : public ::testing::Test {
 protected:
  using Phase = TFormMain::Phase;

  // The default settings file with 1024 samples and these settings.
  void WriteDefaults(FftSetting fft = {}, const SaveSetting& save = {}, const AdUnitSetting& ad = {}) {
    fft.DataCountSel = 0;
    fft.DataCountMax = 1024;
    ASSERT_TRUE(TmyFile(prompter).SaveSettingFile(settingsPath, "Zemtraini", fft, save, ad));
  }

  // A window on a unit of this CONFIG, after its start-up work unless told otherwise.
  void Open(const std::string& config = kQuietSine, bool startup = true) {
    window.reset();
    QApplication::setFont(UiFont());  // as the entry point sets it
    unit = std::make_unique<SimulatedTap>(config, clock);
    MainFormEnvironment env(*unit);
    env.settingsPath = settingsPath;
    env.prompter = promptWith;
    env.printPrompter = promptWith;
    env.waitIdle = [this] {
      Advance();
      ++waits;
      if (onWait) onWait(waits);
    };
    env.steadyClock = time.Clock();
    env.wallClock = [] { return kWallTime; };
    env.journalDirectory = journalDirectory;
    window = std::make_unique<TFormMain>(std::move(env));
    if (startup) window->StartupWork();
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
  ScriptedPrompter* promptWith = &prompter;  // the window's boxes and dialogs
  std::optional<fs::path> journalDirectory;  // none: the window journals nothing
  int waits = 0;
  std::function<void(int)> onWait;  // called with the number of each reply-wait turn
  std::unique_ptr<SimulatedTap> unit;
  std::unique_ptr<TFormMain> window;
};
