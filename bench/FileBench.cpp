// The data and spectrum file writers and the data file reader beside bare baselines
// (std::to_chars into one buffer and one fwrite; whole-file read and std::from_chars),
// so the ratios are read from one run. Files go to a temporary directory.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "files/Myfile.h"
#include "ui/SilentPrompter.h"

namespace {

namespace fs = std::filesystem;

class BenchDir {
 public:
  BenchDir() {
    std::string pattern = (fs::temp_directory_path() / "zemtra-bench-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~BenchDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  BenchDir(const BenchDir&) = delete;
  BenchDir& operator=(const BenchDir&) = delete;
  fs::path operator/(const char* name) const { return path_ / name; }

 private:
  fs::path path_;
};

// A 1 V sine with noise at gain 1, as codes and volts, and its spectrum.
struct Measurement {
  explicit Measurement(int n) {
    constexpr double kMidScale = 8388608.0;
    constexpr double kVoltsPerCode = 2.5 / kMidScale;
    buffers->Bind(data);
    data.ad_dnum = n;
    data.deltaF = 4800.0F / static_cast<float>(n);
    std::mt19937 rng(1);
    std::normal_distribution<double> noise(0.0, 30.0);
    for (int i = 0; i < n; ++i) {
      const double code = kMidScale + 3355443.0 * std::sin(2 * std::numbers::pi * 50.0 * i / 4800.0) + noise(rng);
      data.adCode[i] = static_cast<std::int32_t>(code);
      data.volt[i] = static_cast<float>((data.adCode[i] - kMidScale) * kVoltsPerCode);
    }
    for (int k = 0; k < n / 2; ++k) data.spectrum[k] = static_cast<float>(1e-6 / (1 + k));
  }
  std::unique_ptr<MeasureBuffers> buffers = std::make_unique<MeasureBuffers>();
  MeasureData data;
  AdUnitSetting ad;
  FftSetting fft;
};

SaveSetting SaveTo(const fs::path& file) {
  SaveSetting save;
  save.DataFileName = file.string();
  save.StartDateTime = "2026/12/08 19:30:05";
  return save;
}

void SaveData(benchmark::State& state, FileCalls& calls) {
  const Measurement m(static_cast<int>(state.range(0)));
  BenchDir dir;
  const SaveSetting save = SaveTo(dir / "bench.DTA");
  SilentPrompter prompter(true);
  TmyFile file(prompter, calls);
  for (auto _ : state) {
    if (file.SaveDataFile(kDataFileHeader, m.ad, m.data, m.fft, save) != WriteResult::Written) {
      state.SkipWithError("save failed");
    }
  }
}

void BM_SaveDataFile(benchmark::State& state) { SaveData(state, SystemFileCalls()); }

void BM_SaveDataFileUnsynced(benchmark::State& state) {
  UnsyncedFileCalls calls;
  SaveData(state, calls);
}

void BM_LoadDataFile(benchmark::State& state) {
  const Measurement m(static_cast<int>(state.range(0)));
  BenchDir dir;
  const SaveSetting save = SaveTo(dir / "bench.DTA");
  SilentPrompter prompter(true);
  TmyFile file(prompter);
  file.SaveDataFile(kDataFileHeader, m.ad, m.data, m.fft, save);
  Measurement into(0);
  for (auto _ : state) {
    FftSetting fft;
    SaveSetting saveIn;
    AdUnitSetting ad;
    if (!file.LoadDataFile(save.DataFileName, kDataFileHeader, into.data, fft, saveIn, ad)) {
      state.SkipWithError("load failed");
    }
    benchmark::DoNotOptimize(into.data.volt);
  }
}

void BM_SaveFftFile(benchmark::State& state) {
  const Measurement m(static_cast<int>(state.range(0)));
  BenchDir dir;
  const SaveSetting save = SaveTo(dir / "bench.FFT");
  SilentPrompter prompter(true);
  TmyFile file(prompter);
  for (auto _ : state) {
    if (file.SaveFftFile(kFftFileHeader, m.ad, m.data, m.fft, save) != WriteResult::Written) {
      state.SkipWithError("save failed");
    }
  }
}

// The same lines: the 37 settings lines as they are written, then the data section,
// every number through std::to_chars, into one buffer written with one fwrite.
void BM_BaselineWrite(benchmark::State& state) {
  const Measurement m(static_cast<int>(state.range(0)));
  BenchDir dir;
  const SaveSetting save = SaveTo(dir / "bench.DTA");
  SilentPrompter prompter(true);
  TmyFile(prompter).SaveDataFile(kDataFileHeader, m.ad, m.data, m.fft, save);
  std::string settings;
  {
    std::FILE* f = std::fopen(save.DataFileName.c_str(), "rb");
    std::vector<char> bytes(fs::file_size(save.DataFileName));
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    const std::string text(bytes.begin(), bytes.end());
    settings = text.substr(0, text.find("D:\r\n"));
  }
  const fs::path target = dir / "baseline.DTA";
  std::vector<char> buffer(settings.size() + 64 + static_cast<std::size_t>(m.data.ad_dnum) * 40);
  for (auto _ : state) {
    char* p = buffer.data();
    char* const end = buffer.data() + buffer.size();
    p = std::copy(settings.begin(), settings.end(), p);
    const auto text = [&p](std::string_view s) { p = std::copy(s.begin(), s.end(), p); };
    text("D:\r\nad_dnum:");
    p = std::to_chars(p, end, m.data.ad_dnum).ptr;
    text("\r\ndeltaF:");
    p = std::to_chars(p, end, static_cast<double>(m.data.deltaF), std::chars_format::general, 15).ptr;
    text("\r\n");
    for (int i = 0; i < m.data.ad_dnum; ++i) {
      p = std::to_chars(p, end, m.data.adCode[i]).ptr;
      *p++ = ',';
      p = std::to_chars(p, end, static_cast<double>(m.data.volt[i]), std::chars_format::general, 15).ptr;
      text("\r\n");
    }
    text("END:\r\n");
    std::FILE* f = std::fopen(target.c_str(), "wb");
    std::fwrite(buffer.data(), 1, static_cast<std::size_t>(p - buffer.data()), f);
    std::fclose(f);
  }
}

// The whole file read at once, every sample line parsed with std::from_chars.
void BM_BaselineRead(benchmark::State& state) {
  const Measurement m(static_cast<int>(state.range(0)));
  BenchDir dir;
  const SaveSetting save = SaveTo(dir / "bench.DTA");
  SilentPrompter prompter(true);
  TmyFile(prompter).SaveDataFile(kDataFileHeader, m.ad, m.data, m.fft, save);
  constexpr int kLinesBeforeSamples = 40;
  Measurement into(0);
  for (auto _ : state) {
    std::FILE* f = std::fopen(save.DataFileName.c_str(), "rb");
    std::vector<char> bytes(fs::file_size(save.DataFileName));
    const std::size_t size = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    const char* p = bytes.data();
    const char* const end = p + size;
    int line = 0;
    int sample = 0;
    while (p < end) {
      const char* eol = std::find(p, end, '\n');
      if (line >= kLinesBeforeSamples && sample < m.data.ad_dnum) {
        const char* comma = std::find(p, eol, ',');
        std::from_chars(p, comma, into.data.adCode[sample]);
        std::from_chars(comma + 1, eol, into.data.volt[sample]);
        ++sample;
      }
      ++line;
      p = eol + 1;
    }
    benchmark::DoNotOptimize(into.data.volt);
  }
}

constexpr int kSamples = 65536;

}  // namespace

BENCHMARK(BM_SaveDataFile)->Arg(kSamples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveDataFileUnsynced)->Arg(kSamples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineWrite)->Arg(kSamples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadDataFile)->Arg(kSamples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineRead)->Arg(kSamples)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFftFile)->Arg(kSamples)->Unit(benchmark::kMillisecond);
