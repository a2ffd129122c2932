// The simulated unit of the session and window tests, on a clock the test moves, behind
// a tap that logs the wire, can refuse the start command and reports the abort command
// as it goes out; and the signal and the wall time those tests measure with.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "adc/SimulatedBench.h"

// 1 mV at 600 Hz without converter noise: exactly on line 128 of 1024 samples at 4800 per second.
inline constexpr const char* kQuietSine = "noise=off,ch0=sine:600:1e-3";
// 2026/12/08 19:50:07 UTC.
inline const std::chrono::system_clock::time_point kWallTime{std::chrono::seconds(1796759407)};

class SimulatedTap : public TapDriver {
 public:
  SimulatedTap(const std::string& config, const SimClock& clock)
      : SimulatedTap(SimulatedBench::MakeUnit(config, clock)) {}

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
  explicit SimulatedTap(std::unique_ptr<SimulatedUnit> unit) : TapDriver(*unit), unit_(std::move(unit)) {}

  std::unique_ptr<SimulatedUnit> unit_;
};
