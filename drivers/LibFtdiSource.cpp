#include "drivers/LibFtdiSource.h"

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <string>
#include <utility>

namespace {

// libftdi's code for "no device is open on this context".
constexpr int kLibFtdiDeviceUnavailable = -666;
// ftdi_usb_open_dev's code for "the interface is claimed by someone else".
constexpr int kLibFtdiClaimFailed = -5;

struct DeviceListDeleter {
  void operator()(ftdi_device_list* list) const { ftdi_list_free2(list); }
};
using DeviceList = std::unique_ptr<ftdi_device_list, DeviceListDeleter>;

// ftdi_usb_get_strings's codes for "cannot open the device" and "no serial number".
constexpr int kLibFtdiStringsNoAccess = -4;
constexpr int kLibFtdiStringsNoSerial = -9;
// Room for a USB string descriptor's text.
constexpr int kUsbStringCapacity = 128;

std::string MakeIdList() {
  std::string text;
  for (const std::uint16_t product : kFtdiProductIds) {
    if (!text.empty()) text += ", ";
    text += UsbIdText(kFtdiVendorId, product);
  }
  return text;
}

// A device that enumeration found, with its strings as far as they can be read.
FoundDevice Describe(ftdi_context* context, libusb_device* device, std::uint16_t product) {
  FoundDevice found;
  found.backend = DeviceBackend::kLibFtdi;
  found.vendor = kFtdiVendorId;
  found.product = product;
  std::array<char, 32> bus{};
  std::snprintf(bus.data(), bus.size(), "bus %03u device %03u", libusb_get_bus_number(device),
                libusb_get_device_address(device));
  found.bus = bus.data();
  std::array<char, kUsbStringCapacity> description{};
  std::array<char, kUsbStringCapacity> serial{};
  const int result = ftdi_usb_get_strings(context, device, nullptr, 0, description.data(), kUsbStringCapacity,
                                          serial.data(), kUsbStringCapacity);
  if (result == 0 || result == kLibFtdiStringsNoSerial) {
    found.description = description.data();
    if (result == 0) found.serial = serial.data();
  } else if (result == kLibFtdiStringsNoAccess) {
    found.description = std::string("no access, see ") + kInstalledUdevRule;
  } else {
    found.description = "its strings cannot be read";
  }
  return found;
}

// The devices of every FTDI id, each beside the libusb device to open it by.
struct Attached {
  std::vector<DeviceList> lists;  // hold the references of the devices below
  std::vector<libusb_device*> usb;
  std::vector<FoundDevice> found;
};

// Fills attached; a negative libftdi code when enumerating failed, else 0.
int Enumerate(ftdi_context* context, Attached& attached) {
  for (const std::uint16_t product : kFtdiProductIds) {
    ftdi_device_list* list = nullptr;
    const int count = ftdi_usb_find_all(context, &list, kFtdiVendorId, product);
    DeviceList held(list);
    if (count < 0) return count;
    for (const ftdi_device_list* node = list; node != nullptr; node = node->next) {
      attached.usb.push_back(node->dev);
      attached.found.push_back(Describe(context, node->dev, product));
    }
    attached.lists.push_back(std::move(held));
  }
  return 0;
}

}  // namespace

FT_STATUS LibFtdiStatus(LibFtdiStep step, int code) {
  if (code >= 0) return FT_OK;
  switch (step) {
    case LibFtdiStep::kFind:
      return FT_OTHER_ERROR;
    case LibFtdiStep::kOpen:
      return FT_DEVICE_NOT_OPENED;
    case LibFtdiStep::kIo:
      return code == kLibFtdiDeviceUnavailable ? FT_INVALID_HANDLE : FT_IO_ERROR;
  }
  return FT_OTHER_ERROR;
}

std::string_view LibFtdiIdList() {
  static const std::string list = MakeIdList();
  return list;
}

std::vector<FoundDevice> ListLibFtdiDevices(const DriverLog& log) {
  const std::unique_ptr<ftdi_context, void (*)(ftdi_context*)> context(ftdi_new(), ftdi_free);
  if (!context) {
    log("libftdi: ftdi_new failed: libusb cannot be initialised");
    return {};
  }
  Attached attached;
  if (const int code = Enumerate(context.get(), attached); code < 0) {
    log("libftdi: ftdi_usb_find_all failed (" + std::to_string(code) + "): " + ftdi_get_error_string(context.get()));
  }
  return attached.found;
}

void LibFtdiSource::ContextDeleter::operator()(ftdi_context* context) const { ftdi_free(context); }

LibFtdiSource::LibFtdiSource(std::string serial, DriverLog log) : serial_(std::move(serial)), log_(std::move(log)) {}

LibFtdiSource::~LibFtdiSource() { Close(); }

FT_STATUS LibFtdiSource::Open() {
  Close();
  context_.reset(ftdi_new());
  if (!context_) {
    log_("libftdi: ftdi_new failed: libusb cannot be initialised");
    return FT_OTHER_ERROR;
  }
  Attached attached;
  if (const int code = Enumerate(context_.get(), attached); code < 0) {
    const FT_STATUS status = Fail(LibFtdiStep::kFind, "ftdi_usb_find_all", code);
    context_.reset();
    return status;
  }
  if (attached.found.empty()) {
    log_("libftdi: no FTDI device found (looked for " + std::string(LibFtdiIdList()) + ")");
    context_.reset();
    return FT_DEVICE_NOT_FOUND;
  }
  const DeviceChoice choice = ChooseDevice(attached.found, serial_);
  if (!choice.index) {
    log_("libftdi: " + choice.error);
    context_.reset();
    return FT_DEVICE_NOT_FOUND;
  }
  return OpenDevice(attached.usb[*choice.index], attached.found[*choice.index]);
}

FT_STATUS LibFtdiSource::OpenDevice(libusb_device* device, const FoundDevice& found) {
  const int opened = ftdi_usb_open_dev(context_.get(), device);
  if (opened < 0) {
    const FT_STATUS status = Fail(
        LibFtdiStep::kOpen, "ftdi_usb_open_dev " + UsbIdText(found.vendor, found.product) + " " + found.bus, opened);
    if (opened == kLibFtdiClaimFailed) {
      log_("libftdi: another program holds the unit");
    } else {
      log_(std::string("libftdi: the user needs write access to the USB device, which the udev rule ") +
           kInstalledUdevRule + " gives (replug the unit after installing it)");
    }
    context_.reset();
    return status;
  }
  deviceOpen_ = true;
  const int latency = ftdi_set_latency_timer(context_.get(), kLibFtdiLatencyMs);
  if (latency < 0) {
    const FT_STATUS status = Fail(LibFtdiStep::kIo, "ftdi_set_latency_timer", latency);
    Close();
    return status;
  }
  return FT_OK;
}

FT_STATUS LibFtdiSource::SetTransferSize(std::uint32_t bytes) {
  if (!deviceOpen_) return FT_INVALID_HANDLE;
  const int result = ftdi_read_data_set_chunksize(context_.get(), bytes);
  return result < 0 ? Fail(LibFtdiStep::kIo, "ftdi_read_data_set_chunksize", result) : FT_OK;
}

FT_STATUS LibFtdiSource::ReadSome(std::span<std::uint8_t> into, std::size_t& got) {
  got = 0;
  if (!deviceOpen_) return FT_INVALID_HANDLE;
  const int size = static_cast<int>(std::min<std::size_t>(into.size(), INT_MAX));
  const int result = ftdi_read_data(context_.get(), into.data(), size);
  if (result < 0) return Fail(LibFtdiStep::kIo, "ftdi_read_data", result);
  got = static_cast<std::size_t>(result);
  return FT_OK;
}

FT_STATUS LibFtdiSource::Write(std::span<const std::uint8_t> bytes) {
  if (!deviceOpen_) return FT_INVALID_HANDLE;
  const int size = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
  const int result = ftdi_write_data(context_.get(), bytes.data(), size);
  if (result < 0) return Fail(LibFtdiStep::kIo, "ftdi_write_data", result);
  if (static_cast<std::size_t>(result) != bytes.size()) {
    log_("libftdi: ftdi_write_data took " + std::to_string(result) + " of " + std::to_string(bytes.size()) + " bytes");
    return FT_IO_ERROR;
  }
  return FT_OK;
}

FT_STATUS LibFtdiSource::Flush(bool rx, bool tx) {
  if (!deviceOpen_) return FT_INVALID_HANDLE;
  if (!rx && !tx) return FT_OK;
  using FlushCall = int (*)(ftdi_context*);
  const auto [flush, name] = rx && tx ? std::pair<FlushCall, const char*>{ftdi_tcioflush, "ftdi_tcioflush"}
                             : rx     ? std::pair<FlushCall, const char*>{ftdi_tciflush, "ftdi_tciflush"}
                                      : std::pair<FlushCall, const char*>{ftdi_tcoflush, "ftdi_tcoflush"};
  const int result = flush(context_.get());
  return result < 0 ? Fail(LibFtdiStep::kIo, name, result) : FT_OK;
}

void LibFtdiSource::Close() {
  if (deviceOpen_) {
    const int result = ftdi_usb_close(context_.get());
    if (result < 0) Fail(LibFtdiStep::kIo, "ftdi_usb_close", result);
    deviceOpen_ = false;
  }
  context_.reset();
}

FT_STATUS LibFtdiSource::Fail(LibFtdiStep step, std::string_view call, int code) {
  const char* reason = context_ ? ftdi_get_error_string(context_.get()) : nullptr;
  log_("libftdi: " + std::string(call) + " failed (" + std::to_string(code) +
       "): " + (reason != nullptr ? reason : "no reason given"));
  return LibFtdiStatus(step, code);
}
