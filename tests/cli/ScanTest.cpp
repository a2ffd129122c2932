// zemtra-cli scan: its command line and its list.
#include <gtest/gtest.h>

#include <vector>

#include "CaptureFile.h"
#include "cli/Options.h"
#include "cli/Scan.h"

namespace {

TEST(ScanTest, TakesNoArgumentsButHelp) {
  struct Row {
    std::vector<std::string> args;
    const char* error;
  };
  const Row rows[] = {
      {{"scan"}, ""},
      {{"scan", "--help"}, ""},
      {{"scan", "/dev/ttyUSB0"}, "unexpected argument '/dev/ttyUSB0'"},
      {{"scan", "--json"}, "--json applies to measure, analyze and recover only"},
      {{"scan", "--device=tty"}, "--device applies to measure only"},
  };
  for (const Row& row : rows) {
    const CliParse parse = ParseCommandLine(row.args);
    EXPECT_EQ(parse.error, row.error) << row.args.back();
    if (parse.error.empty()) {
      EXPECT_EQ(parse.options.command, CliCommand::Scan);
    }
  }
}

TEST(ScanTest, ListsOneLinePerDeviceOrSaysNoneWasFound) {
  FoundDevice tty;
  tty.vendor = 0x0403;
  tty.product = 0x6001;
  tty.serial = "A50285BI";
  tty.tty = "/dev/ttyUSB0";
  FoundDevice libftdi = tty;
  libftdi.backend = DeviceBackend::kLibFtdi;
  libftdi.bus = "bus 001 device 004";
  libftdi.description = "FT232R USB UART";
  for (const auto& found : {std::vector<FoundDevice>{}, std::vector<FoundDevice>{libftdi, tty}}) {
    CaptureFile out;
    CaptureFile err;
    CliIo io;
    io.out = out.File();
    io.err = err.File();
    const int exit = ReportDevices(found, io);
    if (found.empty()) {
      EXPECT_EQ(exit, kExitUnit);
      EXPECT_EQ(out.Text(), "");
      EXPECT_EQ(err.Text(), "zemtra-cli: no FTDI device found (USB vendor 0403)\n");
    } else {
      EXPECT_EQ(exit, kExitOk);
      EXPECT_EQ(out.Text(),
                "libftdi:A50285BI  bus 001 device 004, 0403:6001, \"FT232R USB UART\"\n"
                "tty:/dev/ttyUSB0  0403:6001, serial A50285BI\n");
    }
  }
}

}  // namespace
