// A converter unit for protocol tests: the simulated unit on a virtual clock that the
// test moves, behind a tap that logs what goes on the wire, and a TADC whose waits
// run on fake time (each turn of a wait is 10 ms), so nothing sleeps.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ScriptedDriver.h"
#include "adc/Ad7190.h"
#include "drivers/SimulatedUnit.h"

// Forwards every call and logs purges and written lines.
class TapDriver : public D2xx {
 public:
  explicit TapDriver(D2xx& inner) : inner(inner) {}

  std::vector<std::string> wire;  // "Purge" or the bytes written

  FT_STATUS Open() override { return inner.Open(); }
  FT_STATUS Close() override { return inner.Close(); }
  FT_STATUS SetUSBParameters(std::uint32_t in, std::uint32_t out) override { return inner.SetUSBParameters(in, out); }
  FT_STATUS Purge(std::uint32_t mask) override {
    wire.push_back("Purge");
    return inner.Purge(mask);
  }
  FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override {
    wire.emplace_back(static_cast<const char*>(bytes), n);
    return inner.Write(bytes, n, written);
  }
  FT_STATUS GetQueueStatus(std::uint32_t& queued) override { return inner.GetQueueStatus(queued); }
  FT_STATUS Read(void* buffer, std::uint32_t n, std::uint32_t& read) override { return inner.Read(buffer, n, read); }

 private:
  D2xx& inner;
};

struct SimulatedBench {
  explicit SimulatedBench(const std::string& configText) : unit(MakeUnit(configText, clock)) {}

  static std::unique_ptr<SimulatedUnit> MakeUnit(const std::string& configText, const SimClock& clock) {
    std::string error;
    const std::optional<SimConfig> config = ParseSimulatedConfig(configText, error);
    if (!config) throw std::invalid_argument(error);
    return std::make_unique<SimulatedUnit>(*config, clock);
  }

  VirtualSimClock clock;
  std::unique_ptr<SimulatedUnit> unit;
  TapDriver tap{*unit};
  FakeTime time;
  TADC adc{tap, time.Pump(), time.Clock()};
};
