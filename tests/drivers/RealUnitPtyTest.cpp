// The terminal backend end to end: the simulated unit's firmware answers on the master
// side of a pseudo-terminal, in real time, while the program's own link, protocol and
// set-up sequence talk to the slave side through the buffered driver, exactly as they
// would talk to /dev/ttyUSB0.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "PseudoTerminal.h"
#include "adc/Ad7190.h"
#include "adc/UnitSetup.h"
#include "drivers/BufferedD2xx.h"
#include "drivers/TtySource.h"
#include "drivers/UnitFirmware.h"

namespace {

using Clock = std::chrono::steady_clock;

// The link's command time-outs (100 ms) are meant for a unit on its own USB port; a
// loaded test machine running sanitizers may be slower. The link's clock runs this
// many times slower than real time, so every time-out becomes generous.
constexpr int kTimeStretch = 20;
// Bound on the whole acquisition in real time (it needs under a second).
constexpr auto kAcquisitionLimit = std::chrono::seconds(60);
// How long the unit's loop and the program's pump wait per turn.
constexpr int kUnitPollMs = 1;
constexpr auto kPumpPause = std::chrono::microseconds(200);
constexpr std::size_t kRecordDigits = 6;

// The firmware on the master side, on its own thread and the real clock.
class PtyUnit {
 public:
  PtyUnit(PseudoTerminal& pty, const SimConfig& config) : pty_(pty), firmware_(config) {
    thread_ = std::thread([this] { Run(); });
  }
  ~PtyUnit() { Stop(); }
  PtyUnit(const PtyUnit&) = delete;
  PtyUnit& operator=(const PtyUnit&) = delete;

  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  // Everything the unit has sent so far.
  std::string Sent() {
    std::lock_guard lock(mutex_);
    return sent_;
  }

 private:
  void Run() {
    const auto start = Clock::now();
    std::string pending;  // sent by the firmware, not yet taken by the terminal
    while (!stop_) {
      pollfd wait{pty_.Master(), static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0};
      ::poll(&wait, 1, kUnitPollMs);
      const auto now = Clock::now() - start;
      std::string out;
      std::array<char, 256> chunk{};
      const ssize_t got = ::read(pty_.Master(), chunk.data(), chunk.size());
      if (got > 0) firmware_.Receive(std::string_view(chunk.data(), static_cast<std::size_t>(got)), now, out);
      firmware_.Advance(now, out);
      if (!out.empty()) {
        pending += out;
        std::lock_guard lock(mutex_);
        sent_ += out;
      }
      if (!pending.empty()) {
        const ssize_t written = ::write(pty_.Master(), pending.data(), pending.size());
        if (written > 0) pending.erase(0, static_cast<std::size_t>(written));
      }
    }
  }

  PseudoTerminal& pty_;
  UnitFirmware firmware_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;  // protects sent_
  std::string sent_;
  std::thread thread_;
};

// The codes of the sample records in what the unit sent (the lines of six hex digits;
// replies are "OK", the name and the version).
std::vector<std::int32_t> RecordsIn(const std::string& sent) {
  std::vector<std::int32_t> codes;
  std::size_t begin = 0;
  for (std::size_t end = sent.find('\r'); end != std::string::npos; begin = end + 1, end = sent.find('\r', begin)) {
    const std::string line = sent.substr(begin, end - begin);
    if (line.size() == kRecordDigits && line.find_first_not_of("0123456789ABCDEF") == std::string::npos) {
      codes.push_back(static_cast<std::int32_t>(std::stol(line, nullptr, 16)));
    }
  }
  return codes;
}

TEST(RealUnitPtyTest, SetUpAndAFullRateAcquisitionArriveIntactThroughTheTerminal) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.Valid());
  SimConfig config = DemoSimulatedConfig();
  PtyUnit unit(pty, config);

  std::vector<std::string> log;
  std::mutex logMutex;
  const DriverLog capture = [&](std::string_view line) {
    std::lock_guard lock(logMutex);
    log.emplace_back(line);
  };
  BufferedD2xx driver(std::make_unique<TtySource>(pty.SlavePath(), capture), capture);
  const auto start = Clock::now();
  const auto stretched = [start] { return start + (Clock::now() - start) / kTimeStretch; };
  TADC adc(
      driver, [] { std::this_thread::sleep_for(kPumpPause); }, stretched);

  AdUnitSetting setting;  // 4800 samples per second, gain 128
  const UnitSetupResult setup = RunUnitSetup(adc, setting);
  ASSERT_TRUE(setup.Ok()) << "failed at " << SetupStepName(setup.failedStep);
  EXPECT_EQ(setup.unitName, config.name);
  EXPECT_EQ(setup.version, config.version);
  EXPECT_EQ(setup.description, "4.8ksps x128, ");

  constexpr std::uint32_t kSamples = 4096;
  ASSERT_TRUE(adc.StartAcquisition(setting.ch_sel, kSamples));
  std::vector<std::int32_t> codes(kSamples);
  std::uint32_t got = 0;
  const auto deadline = Clock::now() + kAcquisitionLimit;
  while (got < kSamples && Clock::now() < deadline) {
    std::uint32_t delivered = 0;
    ASSERT_TRUE(adc.ReadSamples(codes.data() + got, TADC::kMaxRecordsPerRead, delivered)) << "after " << got;
    got += delivered;
    if (delivered == 0) std::this_thread::sleep_for(kPumpPause);
  }
  ASSERT_EQ(got, kSamples) << "the acquisition did not finish in time";
  EXPECT_TRUE(adc.StopAcquisition());
  adc.CloseUnit();
  unit.Stop();

  EXPECT_EQ(codes, RecordsIn(unit.Sent())) << "every record, in order, unaltered";
  std::lock_guard lock(logMutex);
  EXPECT_TRUE(log.empty()) << log.front();
}

}  // namespace
