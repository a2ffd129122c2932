// Test parameters over the kernel levels the CPU runs, named by level.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "analysis/Simd.h"

inline void PrintTo(SimdLevel level, std::ostream* os) { *os << SimdLevelName(level); }

inline std::string SimdLevelTestName(const ::testing::TestParamInfo<SimdLevel>& info) {
  return SimdLevelName(info.param);
}
