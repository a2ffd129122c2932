#include "cli/Scan.h"

#include <string>
#include <string_view>

#include "drivers/DeviceSelect.h"

int ReportDevices(std::span<const FoundDevice> found, const CliIo& io) {
  if (found.empty()) {
    std::fprintf(io.err, "zemtra-cli: no FTDI device found (USB vendor 0403)\n");
    return kExitUnit;
  }
  std::string text;
  for (const FoundDevice& device : found) text += device.Line() + "\n";
  return WriteReport(io.out, text) ? kExitOk : kExitReportLost;
}

int RunScan(const CliIo& io) {
  const auto log = [&io](std::string_view line) {
    std::fprintf(io.err, "zemtra-cli: %.*s\n", static_cast<int>(line.size()), line.data());
  };
  return ReportDevices(ScanDevices(log), io);
}
