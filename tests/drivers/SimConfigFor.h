// A parsed simulated-unit CONFIG for tests; a malformed one fails the test.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "drivers/SimulatedConfig.h"

inline SimConfig Config(const std::string& text) {
  std::string error;
  const std::optional<SimConfig> config = ParseSimulatedConfig(text, error);
  EXPECT_TRUE(config) << error;
  return config.value_or(SimConfig{});
}
