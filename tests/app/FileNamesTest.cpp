#include <gtest/gtest.h>

#include "app/FileNames.h"

namespace {

TEST(WithExtensionIfNoDot, OnlyNamesWithoutAnyDotGetTheExtension) {
  const struct {
    const char* name;
    const char* expected;
    const char* reason;
  } rows[] = {
      {"run1", "run1.FFT", "no dot at all"},
      {R"(D:\data\run1)", R"(D:\data\run1.FFT)", "a path without dots"},
      {"run1.FFT", "run1.FFT", "already has the extension"},
      {"run1.txt", "run1.txt", "another extension is kept"},
      {R"(D:\ver1.2\run1)", R"(D:\ver1.2\run1)", "a dot in a directory counts too"},
  };
  for (const auto& r : rows) EXPECT_EQ(WithExtensionIfNoDot(r.name, kFftExtension), r.expected) << r.reason;
}

}  // namespace
