// The FTDI devices attached, as each driver sees them, and which one a driver opens.
// The five FTDI ids the unit may carry are those of most serial cables and adapters,
// and opening a device through libftdi1 takes it from the kernel's serial driver; so
// with several candidates attached a driver opens only the one named, never the first.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// libftdi1, the kernel's USB serial terminal, or (on Windows) the vendor's driver library.
enum class DeviceBackend { kLibFtdi, kTty, kVendorLibrary };

// One device a driver can reach.
struct FoundDevice {
  DeviceBackend backend = DeviceBackend::kTty;
  std::uint16_t vendor = 0;
  std::uint16_t product = 0;
  std::string serial;         // the USB serial number; empty when the device has none or it cannot be read
  std::string description;    // libftdi: the product string, or why it could not be read
  std::string bus;            // libftdi: "bus 001 device 004"
  std::filesystem::path tty;  // tty: the terminal

  // The --device value that names it ("libftdi:A50285BI", "tty:/dev/ttyUSB0"); empty for
  // a libftdi device without a serial number.
  std::string DeviceOption() const;
  // Its line in the list of zemtra-cli scan and of a refusal.
  std::string Line() const;
};

struct DeviceChoice {
  std::optional<std::size_t> index;  // the candidate to open
  std::string error;                 // otherwise why none is opened, with the candidates listed
};

// The candidate to open: the one whose serial number is serial when it is given (also
// among devices of several kinds), otherwise the only one. None attached, none or two
// with the named serial, or several and none named, is an error.
DeviceChoice ChooseDevice(std::span<const FoundDevice> candidates, std::string_view serial);

// "0403:6001".
std::string UsbIdText(std::uint16_t vendor, std::uint16_t product);
