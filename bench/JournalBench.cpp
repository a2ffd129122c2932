// The journal's own cost for a 65536-sample measurement at 4800 per second: the
// session hands it 32 records per poll and it writes and syncs once a second (a
// clock moved by the records' time), to the real disk. The CPU time per iteration
// beside the whole measurement's (bench/cli-figures) gives the journal's share.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <numeric>
#include <vector>

#include "files/Journal.h"

namespace {

constexpr int kSamples = 65536;
constexpr int kRecordsPerPoll = 32;
constexpr auto kPollPeriod = std::chrono::microseconds(1'000'000 * kRecordsPerPoll / 4800);

void BM_JournalMeasurement(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "zemtra-bench-journal";
  std::filesystem::create_directories(dir);
  std::vector<std::int32_t> codes(kRecordsPerPoll);
  std::iota(codes.begin(), codes.end(), 0x800000);
  JournalHeader header;
  header.samples = kSamples;
  for (auto _ : state) {
    std::chrono::steady_clock::time_point now{};
    JournalWriter writer(SystemFileCalls(), [&now] { return now; });
    const auto path = dir / "bench.zjournal";
    std::filesystem::remove(path);
    writer.Open(path, header);
    for (int done = 0; done < kSamples; done += kRecordsPerPoll) {
      now += kPollPeriod;
      writer.Append(codes);
    }
    writer.End(JournalEnd::Finished);
    benchmark::DoNotOptimize(writer.Failed());
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

BENCHMARK(BM_JournalMeasurement)->Unit(benchmark::kMillisecond);
