#include "drivers/DeviceScan.h"

#include <algorithm>

namespace {

std::string Hex4(std::uint16_t id) {
  constexpr const char* kDigits = "0123456789abcdef";
  constexpr int kDigitCount = 4;
  constexpr int kBitsPerDigit = 4;
  constexpr unsigned kDigitMask = 0xF;
  std::string text(kDigitCount, '0');
  for (int i = kDigitCount - 1; i >= 0; --i, id = static_cast<std::uint16_t>(id >> kBitsPerDigit))
    text[static_cast<std::size_t>(i)] = kDigits[id & kDigitMask];
  return text;
}

std::string Listed(std::span<const FoundDevice> devices) {
  std::string text;
  for (const FoundDevice& device : devices) text += "\n  " + device.Line();
  return text;
}

}  // namespace

std::string UsbIdText(std::uint16_t vendor, std::uint16_t product) { return Hex4(vendor) + ":" + Hex4(product); }

std::string FoundDevice::DeviceOption() const {
  if (backend == DeviceBackend::kTty) return "tty:" + tty.string();
  if (backend == DeviceBackend::kVendorLibrary) return "d2xx";
  return serial.empty() ? std::string() : "libftdi:" + serial;
}

std::string FoundDevice::Line() const {
  const std::string id = UsbIdText(vendor, product);
  if (backend == DeviceBackend::kTty)
    return DeviceOption() + "  " + id + ", serial " + (serial.empty() ? "(none)" : serial);
  if (backend == DeviceBackend::kVendorLibrary) return DeviceOption() + "  " + description;
  const std::string name = serial.empty() ? "libftdi (no serial number)" : DeviceOption();
  return name + "  " + bus + ", " + id + ", \"" + description + "\"";
}

DeviceChoice ChooseDevice(std::span<const FoundDevice> candidates, std::string_view serial) {
  if (candidates.empty()) return {std::nullopt, "no FTDI device is attached"};
  if (serial.empty()) {
    if (candidates.size() == 1) return {0, {}};
    return {std::nullopt, std::to_string(candidates.size()) +
                              " FTDI devices are attached (serial cables use the same chips); name the unit "
                              "with --device= as listed:" +
                              Listed(candidates)};
  }
  const auto named = [&](const FoundDevice& device) { return device.serial == serial; };
  const auto count = std::count_if(candidates.begin(), candidates.end(), named);
  if (count == 1) {
    const auto at = std::find_if(candidates.begin(), candidates.end(), named);
    return {static_cast<std::size_t>(at - candidates.begin()), {}};
  }
  const std::string quoted = "\"" + std::string(serial) + "\"";
  return {std::nullopt, (count == 0 ? "no FTDI device has the serial number " + quoted + "; attached:"
                                    : "several FTDI devices have the serial number " + quoted + ":") +
                            Listed(candidates)};
}
