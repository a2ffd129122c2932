// Windows reaches the unit through the vendor's driver library only.
#include <string>
#include <utility>

#include "drivers/DeviceSelect.h"
#include "drivers/VendorLibraryD2xx.h"

namespace {
constexpr std::string_view kVendorLibraryOption = "d2xx";
}  // namespace

bool LibFtdiBuiltIn() { return false; }

const char* DeviceOptionSyntax() { return "d2xx"; }

DeviceSpec DefaultDeviceSpec() { return {DeviceBackend::kVendorLibrary, {}, {}}; }

DeviceSpecResult ParseDeviceSpec(std::string_view value) {
  if (value.empty() || value == kVendorLibraryOption) return {DefaultDeviceSpec(), {}};
  return {std::nullopt, "unknown device \"" + std::string(value) + "\"; on Windows the unit is reached through " +
                            kVendorLibraryName + ": use --device=d2xx or leave --device out"};
}

// The library's calls of the driver contract list no devices: the one it opens is
// the first, so the scan names the library that will open it, once it loads.
std::vector<FoundDevice> ScanDevices(const DriverLog& log) {
  VendorLibraryD2xx library(log);
  if (library.Open() != FT_OK) return {};
  library.Close();
  FoundDevice device;
  device.backend = DeviceBackend::kVendorLibrary;
  device.description = std::string("the first device of ") + kVendorLibraryName;
  return {device};
}

std::unique_ptr<D2xx> MakeRealUnitDriver(const DeviceSpec& /*device*/, DriverLog log) {
  return std::make_unique<VendorLibraryD2xx>(std::move(log));
}
