// Which real-hardware driver talks to the unit: the value of the command-line option
// --device=libftdi[:SERIAL]|tty[:PATH]. The value is checked here, once, before any
// backend sees it; without the option the program uses libftdi1 when it is built in,
// else the kernel's serial driver.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drivers/D2xx.h"
#include "drivers/DeviceScan.h"
#include "drivers/DriverLog.h"

struct DeviceSpec {
  DeviceBackend backend = DeviceBackend::kTty;
  std::filesystem::path ttyPath;  // kTty only; empty: the only FTDI terminal
  std::string serial;             // kLibFtdi only; empty: the only FTDI device

  friend bool operator==(const DeviceSpec&, const DeviceSpec&) = default;
};

// A parsed option value, or the reason it was refused (a sentence for the user).
struct DeviceSpecResult {
  std::optional<DeviceSpec> device;
  std::string error;
};

// Whether this build contains the libftdi1 backend.
bool LibFtdiBuiltIn();

// The driver used when no --device option is given.
DeviceSpec DefaultDeviceSpec();

// The values "--device=" takes here, as help texts show them: "libftdi[:SERIAL]|tty[:PATH]".
const char* DeviceOptionSyntax();

// Parses the text after "--device="; an empty value is the default.
DeviceSpecResult ParseDeviceSpec(std::string_view value);

// The FTDI devices each driver of this build can reach: libftdi1's, then the terminals.
std::vector<FoundDevice> ScanDevices(const DriverLog& log);

// The buffered real-hardware driver over the backend of device, logging to log.
std::unique_ptr<D2xx> MakeRealUnitDriver(const DeviceSpec& device, DriverLog log);
