// Which real-hardware driver talks to the unit: the value of the command-line option
// --device=libftdi|tty[:PATH]. The value is checked here, once, before any backend
// sees it; without the option the program uses libftdi1 when it is built in, else the
// kernel's serial driver.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "drivers/D2xx.h"
#include "drivers/DriverLog.h"

// The option's name as typed, and a line for the programs' usage text.
inline constexpr std::string_view kDeviceOptionPrefix = "--device=";
inline constexpr std::string_view kDeviceOptionHelp =
    "--device=libftdi|tty[:PATH]  driver for the real unit: libftdi1, or the kernel's USB serial "
    "terminal (first FTDI /dev/ttyUSB*, or PATH); default libftdi when built in, else tty";

enum class DeviceBackend { kLibFtdi, kTty };

struct DeviceSpec {
  DeviceBackend backend = DeviceBackend::kTty;
  std::filesystem::path ttyPath;  // kTty only; empty: the first FTDI terminal

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

// Parses the text after "--device="; an empty value is the default.
DeviceSpecResult ParseDeviceSpec(std::string_view value);

// The buffered real-hardware driver over the backend of device, logging to log.
std::unique_ptr<D2xx> MakeRealUnitDriver(const DeviceSpec& device, DriverLog log);
