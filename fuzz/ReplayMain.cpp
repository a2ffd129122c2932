// Stands in for libFuzzer where its runtime is missing: runs every seed file given
// (files or directories) through the target, each followed by deterministic mutations
// of it (cuts, byte changes, deleted and repeated stretches), under the sanitizers.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

constexpr int kMutationsPerSeed = 300;
// Bytes that matter to the readers, so changes hit the structure more often.
constexpr char kInteresting[] = {'\r', '\n', ':', ';', ',', '0', '1', '9', '-', '.', 'e', ' ', '\0'};

using Bytes = std::vector<std::uint8_t>;

void Run(const Bytes& input) { LLVMFuzzerTestOneInput(input.data(), input.size()); }

Bytes Mutated(const Bytes& seed, std::mt19937& rng) {
  Bytes out = seed;
  if (out.empty()) return {static_cast<std::uint8_t>(kInteresting[rng() % sizeof kInteresting])};
  const auto at = [&](std::size_t size) { return static_cast<std::size_t>(rng() % (size + 1)); };
  switch (rng() % 4) {
    case 0:  // cut
      out.resize(at(out.size()));
      break;
    case 1:  // change a few bytes
      for (int i = 0; i < 3; ++i)
        out[at(out.size() - 1)] = static_cast<std::uint8_t>(kInteresting[rng() % sizeof kInteresting]);
      break;
    case 2: {  // delete a stretch
      const auto from = at(out.size());
      const auto to = std::min(out.size(), from + at(64));
      out.erase(out.begin() + static_cast<std::ptrdiff_t>(from), out.begin() + static_cast<std::ptrdiff_t>(to));
      break;
    }
    default: {  // repeat a stretch
      const auto from = at(out.size());
      const auto to = std::min(out.size(), from + at(64));
      const Bytes stretch(out.begin() + static_cast<std::ptrdiff_t>(from),
                          out.begin() + static_cast<std::ptrdiff_t>(to));
      out.insert(out.begin() + static_cast<std::ptrdiff_t>(to), stretch.begin(), stretch.end());
      break;
    }
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> seeds;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path arg(argv[i]);
    if (std::filesystem::is_directory(arg)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
        if (entry.is_regular_file()) seeds.push_back(entry.path());
      }
    } else {
      seeds.push_back(arg);
    }
  }
  std::sort(seeds.begin(), seeds.end());
  std::mt19937 rng(1);
  for (const auto& path : seeds) {
    std::ifstream in(path, std::ios::binary);
    const Bytes seed{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Run(seed);
    for (int i = 0; i < kMutationsPerSeed; ++i) Run(Mutated(seed, rng));
  }
  std::printf("replayed %zu seeds with %d mutations each\n", seeds.size(), kMutationsPerSeed);
  return seeds.empty() ? 1 : 0;
}
