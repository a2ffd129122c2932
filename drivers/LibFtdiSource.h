// Byte source over libftdi1: talks to the FTDI chip through libusb, detaching the
// kernel's serial driver while the device is open. Built when pkg-config finds
// libftdi1 (ZEMTRA_HAVE_LIBFTDI). The user needs write access to the USB device node
// (the installed udev rule, kInstalledUdevRule).
//
// libftdi reads one transfer at a time: ReadSome returns when a transfer of the size
// set by SetTransferSize is full or the chip reports no more data, which it does every
// latency-timer period.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "drivers/ByteSource.h"
#include "drivers/DeviceScan.h"
#include "drivers/DriverLog.h"

struct ftdi_context;
struct libusb_device;

// The USB ids of the FTDI chips that can carry the unit, in the order they are tried.
inline constexpr std::uint16_t kFtdiVendorId = 0x0403;
inline constexpr std::array<std::uint16_t, 5> kFtdiProductIds = {0x6001, 0x6010, 0x6011, 0x6014, 0x6015};
// Latency timer of the chip in ms: how long it holds a partly filled packet.
inline constexpr unsigned char kLibFtdiLatencyMs = 2;

// The libftdi calls whose failures the source maps to a status.
enum class LibFtdiStep {
  kFind,  // enumerating the USB devices
  kOpen,  // opening and claiming a device that was found
  kIo,    // any call on the open device
};

// The status of a libftdi return code (negative = failure) at step.
FT_STATUS LibFtdiStatus(LibFtdiStep step, int code);

// "0403:6001, 0403:6010, ..." for log lines.
std::string_view LibFtdiIdList();

// Where the package installs the udev rule that gives the user access to the unit.
inline constexpr const char* kInstalledUdevRule = "/usr/lib/udev/rules.d/60-zemtra.rules";

// The attached devices of kFtdiProductIds with bus, serial number and description (read
// without claiming them, so a serial console stays). Enumeration failures are logged.
std::vector<FoundDevice> ListLibFtdiDevices(const DriverLog& log);

class LibFtdiSource final : public ByteSource {
 public:
  // serial: the serial number of the device to open; empty: the only one attached.
  LibFtdiSource(std::string serial, DriverLog log);
  ~LibFtdiSource() override;
  LibFtdiSource(const LibFtdiSource&) = delete;
  LibFtdiSource& operator=(const LibFtdiSource&) = delete;

  // Opens the device named by its serial number, or the only one of kFtdiProductIds
  // attached (several and none named: FT_DEVICE_NOT_FOUND, the list logged), and sets
  // its latency timer.
  FT_STATUS Open() override;
  FT_STATUS SetTransferSize(std::uint32_t bytes) override;
  FT_STATUS ReadSome(std::span<std::uint8_t> into, std::size_t& got) override;
  FT_STATUS Write(std::span<const std::uint8_t> bytes) override;
  FT_STATUS Flush(bool rx, bool tx) override;
  void Close() override;

 private:
  struct ContextDeleter {
    void operator()(ftdi_context* context) const;
  };

  // Logs a failed call with libftdi's error text and returns its status.
  FT_STATUS Fail(LibFtdiStep step, std::string_view call, int code);

  // Opens and claims a device that enumeration found, and sets its latency timer.
  FT_STATUS OpenDevice(libusb_device* device, const FoundDevice& found);

  const std::string serial_;
  const DriverLog log_;
  std::unique_ptr<ftdi_context, ContextDeleter> context_;
  bool deviceOpen_ = false;
};
