#include "analysis/Simd.h"

#include <stdexcept>

namespace {

bool CpuRuns(SimdLevel level) {
  switch (level) {
    case SimdLevel::Portable:
      return true;
    case SimdLevel::Avx2:
#if defined(ZEMTRA_HAVE_AVX2_KERNELS)
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#else
      return false;
#endif
  }
  return false;
}

}  // namespace

SimdLevel BestSimdLevel() {
  static const SimdLevel best = CpuRuns(SimdLevel::Avx2) ? SimdLevel::Avx2 : SimdLevel::Portable;
  return best;
}

std::vector<SimdLevel> AvailableSimdLevels() {
  std::vector<SimdLevel> levels;
  for (auto level : {SimdLevel::Portable, SimdLevel::Avx2}) {
    if (CpuRuns(level)) levels.push_back(level);
  }
  return levels;
}

void RequireSimdLevel(SimdLevel level) {
  if (!CpuRuns(level)) throw std::invalid_argument("SimdLevel: not supported by this CPU");
}

const char* SimdLevelName(SimdLevel level) { return level == SimdLevel::Avx2 ? "Avx2" : "Portable"; }
