#include "drivers/LibFtdiSource.h"

#include <ftdi.h>

#include <algorithm>
#include <climits>
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

std::string HexId(std::uint16_t id) {
  constexpr const char* kDigits = "0123456789abcdef";
  std::string text(4, '0');
  for (int i = 3; i >= 0; --i, id >>= 4) text[static_cast<std::size_t>(i)] = kDigits[id & 0xF];
  return text;
}

std::string MakeIdList() {
  std::string text;
  for (const std::uint16_t product : kFtdiProductIds) {
    if (!text.empty()) text += ", ";
    text += HexId(kFtdiVendorId) + ":" + HexId(product);
  }
  return text;
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

void LibFtdiSource::ContextDeleter::operator()(ftdi_context* context) const { ftdi_free(context); }

LibFtdiSource::LibFtdiSource(DriverLog log) : log_(std::move(log)) {}

LibFtdiSource::~LibFtdiSource() { Close(); }

FT_STATUS LibFtdiSource::Open() {
  Close();
  context_.reset(ftdi_new());
  if (!context_) {
    log_("libftdi: ftdi_new failed: libusb cannot be initialised");
    return FT_OTHER_ERROR;
  }
  for (const std::uint16_t product : kFtdiProductIds) {
    ftdi_device_list* found = nullptr;
    const int count = ftdi_usb_find_all(context_.get(), &found, kFtdiVendorId, product);
    const DeviceList devices(found);
    if (count < 0) return Fail(LibFtdiStep::kFind, "ftdi_usb_find_all", count);
    if (count == 0) continue;
    const int opened = ftdi_usb_open_dev(context_.get(), devices->dev);
    if (opened < 0) {
      const FT_STATUS status =
          Fail(LibFtdiStep::kOpen, "ftdi_usb_open_dev " + HexId(kFtdiVendorId) + ":" + HexId(product), opened);
      if (opened == kLibFtdiClaimFailed) {
        log_("libftdi: another program holds the unit");
      } else {
        log_("libftdi: the user needs write access to the USB device (see the udev rule in dist/udev/)");
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
  log_("libftdi: no FTDI device found (looked for " + std::string(LibFtdiIdList()) + ")");
  context_.reset();
  return FT_DEVICE_NOT_FOUND;
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
