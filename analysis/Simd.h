// Instruction-set levels of the analysis kernels. Each hot kernel is compiled once for
// the portable baseline and, on x86-64, once more for AVX2 with FMA; the best level the
// running CPU supports is picked at run time, so one binary runs everywhere and is fast
// where it can be. Tests run every available level.
#pragma once

#include <vector>

enum class SimdLevel {
  Portable,  // the baseline of the target (SSE2 on x86-64), generic vectors split by the compiler
  Avx2,      // x86-64 with AVX2 and FMA
};

// The fastest level this CPU runs; decided once.
SimdLevel BestSimdLevel();

// Every level this CPU runs, the portable one first.
std::vector<SimdLevel> AvailableSimdLevels();

// Throws std::invalid_argument unless this CPU runs level.
void RequireSimdLevel(SimdLevel level);

// "Portable" or "Avx2", for test names and reports.
const char* SimdLevelName(SimdLevel level);

// Forces a kernel body into its caller, so the caller's instruction set applies to it.
#define ZEMTRA_ALWAYS_INLINE inline __attribute__((always_inline))

#if defined(__x86_64__)
#define ZEMTRA_HAVE_AVX2_KERNELS 1
// Compiles one function for AVX2 with FMA; callers check BestSimdLevel first.
#define ZEMTRA_TARGET_AVX2 __attribute__((target("avx2,fma")))
#endif
