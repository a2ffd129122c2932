#include <gtest/gtest.h>

#include "drivers/DriverChoice.h"

namespace {

TEST(DriverChoice, RefusalsNameTheirOption) {
  const struct {
    std::optional<std::string> simulate;
    std::optional<std::string> device;
    const char* error;  // the start of the refusal; empty: a driver
  } rows[] = {
      {"clock=virtual", std::nullopt, ""},
      {"", "tty", "--simulate and --device exclude each other"},  // neither may win silently
      {"seed=x", std::nullopt, "--simulate: "},
      {std::nullopt, "no-such-driver", "--device: "},
  };
  for (const auto& r : rows) {
    const UnitDriver chosen = MakeUnitDriver(r.simulate, r.device, [](std::string_view) {});
    EXPECT_EQ(chosen.driver != nullptr, std::string(r.error).empty()) << chosen.error;
    EXPECT_EQ(chosen.error.rfind(r.error, 0), 0U) << chosen.error;
  }
}

}  // namespace
