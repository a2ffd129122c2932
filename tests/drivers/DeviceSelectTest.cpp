#include <gtest/gtest.h>

#include "drivers/DeviceSelect.h"

namespace {

TEST(DeviceSelectTest, ParsesTheDeviceOption) {
  struct Row {
    const char* value;
    std::optional<DeviceSpec> expected;  // none: refused
    const char* reason;
  };
  const DeviceSpec libftdi{DeviceBackend::kLibFtdi, {}, {}};
  const Row rows[] = {
      {"", DefaultDeviceSpec(), "empty means the default"},
      {"tty", DeviceSpec{DeviceBackend::kTty, {}, {}}, "first FTDI terminal"},
      {"tty:/dev/ttyUSB3", DeviceSpec{DeviceBackend::kTty, "/dev/ttyUSB3", {}}, "given terminal"},
      {"tty:/dev/serial/by-id/usb-x:y", DeviceSpec{DeviceBackend::kTty, "/dev/serial/by-id/usb-x:y", {}},
       "only the first colon separates"},
      {"libftdi", LibFtdiBuiltIn() ? std::optional(libftdi) : std::nullopt, "libftdi only when built in"},
      {"libftdi:A50285BI",
       LibFtdiBuiltIn() ? std::optional(DeviceSpec{DeviceBackend::kLibFtdi, {}, "A50285BI"}) : std::nullopt,
       "a device by its serial number"},
      {"libftdi:", std::nullopt, "a colon needs a serial number"},
      {"tty:", std::nullopt, "a colon needs a path"},
      {"libftdi:/dev/ttyUSB0", std::nullopt, "libftdi takes no path"},
      {"TTY", std::nullopt, "names are exact"},
      {"ftdi", std::nullopt, "unknown name"},
      {":/dev/ttyUSB0", std::nullopt, "no name"},
  };
  for (const Row& row : rows) {
    const DeviceSpecResult result = ParseDeviceSpec(row.value);
    EXPECT_EQ(result.device, row.expected) << row.reason;
    EXPECT_EQ(result.error.empty(), row.expected.has_value()) << row.reason << ": " << result.error;
  }
}

TEST(DeviceSelectTest, DefaultIsLibFtdiWhenBuiltInElseTty) {
  EXPECT_EQ(DefaultDeviceSpec().backend, LibFtdiBuiltIn() ? DeviceBackend::kLibFtdi : DeviceBackend::kTty);
  EXPECT_TRUE(DefaultDeviceSpec().ttyPath.empty());
}

TEST(DeviceSelectTest, ErrorTextsTellTheUserWhatToType) {
  EXPECT_NE(ParseDeviceSpec("usb").error.find("--device=tty:PATH"), std::string::npos);
  EXPECT_NE(ParseDeviceSpec("tty:").error.find("/dev/ttyUSB0"), std::string::npos);
}

TEST(DeviceSelectTest, TtyDriverForAMissingTerminalReportsNotFound) {
  std::vector<std::string> log;
  auto driver = MakeRealUnitDriver({DeviceBackend::kTty, "/nonexistent/ttyUSB9", {}},
                                   [&](std::string_view line) { log.emplace_back(line); });
  EXPECT_EQ(driver->Open(), FT_DEVICE_NOT_FOUND);
  ASSERT_FALSE(log.empty());
  EXPECT_NE(log.front().find("/nonexistent/ttyUSB9"), std::string::npos);
}

}  // namespace
