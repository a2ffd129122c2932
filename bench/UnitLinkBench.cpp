// The simulated unit and the link at full speed: how many sample records per second
// the firmware produces, and how many travel through the driver contract, the link's
// block reads and the record decoding. Both must stay far above 4800 per second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "adc/Ad7190.h"
#include "adc/UnitSetup.h"
#include "drivers/SimulatedUnit.h"

namespace {

constexpr std::uint32_t kRecords = 65536;
constexpr std::uint32_t kPerRead = 32;

SimConfig DemoVirtual() {
  std::string error;
  return *ParseSimulatedConfig("clock=virtual", error);
}

void BM_FirmwareRecords(benchmark::State& state) {
  const SimConfig config = DemoVirtual();
  for (auto _ : state) {
    UnitFirmware unit(config);
    std::string out;
    unit.Receive("FC\rA010000\r", std::chrono::nanoseconds{0}, out);
    unit.Advance(std::chrono::seconds{20}, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_FirmwareRecords)->Unit(benchmark::kMillisecond);

void BM_AcquireThroughLink(benchmark::State& state) {
  const SimConfig config = DemoVirtual();
  std::vector<std::int32_t> codes(kRecords);
  for (auto _ : state) {
    SimulatedUnit unit(config);
    TADC adc(unit, {});
    AdUnitSetting setting;
    if (!RunUnitSetup(adc, setting).Ok() || !adc.StartAcquisition(0, kRecords)) {
      state.SkipWithError("set-up failed");
      break;
    }
    std::uint32_t index = 0;
    while (index < kRecords) {
      std::uint32_t delivered = 0;
      if (!adc.ReadSamples(codes.data() + index, kPerRead, delivered)) {
        state.SkipWithError("read failed");
        break;
      }
      index += delivered;
    }
    benchmark::DoNotOptimize(codes.data());
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_AcquireThroughLink)->Unit(benchmark::kMillisecond);

}  // namespace
