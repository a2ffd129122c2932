// Which attached FTDI device a driver opens: the choice over what enumeration found.
#include <gtest/gtest.h>

#include <vector>

#include "drivers/DeviceScan.h"

namespace {

FoundDevice LibFtdi(const char* serial, const char* bus = "bus 001 device 004") {
  FoundDevice device;
  device.backend = DeviceBackend::kLibFtdi;
  device.vendor = 0x0403;
  device.product = 0x6001;
  device.serial = serial;
  device.description = "USB <-> Serial";
  device.bus = bus;
  return device;
}

TEST(DeviceScanTest, ChoosesTheNamedOrTheOnlyDeviceAndRefusesToGuess) {
  const FoundDevice unit = LibFtdi("UNIT0001", "bus 001 device 005");
  const FoundDevice console = LibFtdi("CONSOLE1");
  const FoundDevice blank = LibFtdi("", "bus 002 device 002");
  struct Row {
    std::vector<FoundDevice> attached;
    const char* serial;
    std::optional<std::size_t> expected;
    const char* errorMentions;  // "" when a device is chosen
    const char* reason;
  };
  const Row rows[] = {
      {{}, "", std::nullopt, "no FTDI device", "none attached"},
      {{}, "UNIT0001", std::nullopt, "no FTDI device", "none attached, one named"},
      {{console}, "", 0, "", "the only one, not named"},
      {{console, unit}, "", std::nullopt, "2 FTDI devices are attached", "several and none named: never the first"},
      {{console, unit}, "", std::nullopt, "libftdi:UNIT0001", "the refusal lists what to type"},
      {{console, unit}, "UNIT0001", 1, "", "the named one among several"},
      {{console, unit, blank}, "UNIT0001", 1, "", "a device without serial number does not disturb"},
      {{console}, "UNIT0001", std::nullopt, "libftdi:CONSOLE1", "a name that is not attached lists what is"},
      {{unit, unit}, "UNIT0001", std::nullopt, "several FTDI devices have the serial number", "an ambiguous name"},
      {{console, blank}, "", std::nullopt, "libftdi (no serial number)  bus 002 device 002", "listed without a name"},
  };
  for (const Row& row : rows) {
    const DeviceChoice choice = ChooseDevice(row.attached, row.serial);
    EXPECT_EQ(choice.index, row.expected) << row.reason;
    if (*row.errorMentions == '\0') {
      EXPECT_EQ(choice.error, "") << row.reason;
    } else {
      EXPECT_NE(choice.error.find(row.errorMentions), std::string::npos) << row.reason << ": " << choice.error;
    }
  }
}

TEST(DeviceScanTest, EachLineStartsWithTheDeviceValueThatNamesIt) {
  EXPECT_EQ(LibFtdi("A50285BI").Line(), "libftdi:A50285BI  bus 001 device 004, 0403:6001, \"USB <-> Serial\"");
  FoundDevice tty;
  tty.vendor = 0x0403;
  tty.product = 0x6015;
  tty.tty = "/dev/ttyUSB1";
  EXPECT_EQ(tty.Line(), "tty:/dev/ttyUSB1  0403:6015, serial (none)");
  EXPECT_EQ(LibFtdi("").DeviceOption(), "");
}

}  // namespace
