// Byte source over the kernel's FTDI serial driver (ftdi_sio): the unit appears as a
// /dev/ttyUSB* terminal. Needs no extra library; the user needs read and write access
// to the terminal (on most distributions: membership of the dialout group).
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drivers/ByteSource.h"
#include "drivers/DeviceScan.h"
#include "drivers/DriverLog.h"
#include "drivers/UniqueFd.h"

// Where TtySource looks for devices; tests point both at a scratch tree.
struct TtyRoots {
  std::filesystem::path sysfs = "/sys";
  std::filesystem::path dev = "/dev";
};

// How long Write waits for a terminal that does not take bytes (a stuck device).
inline constexpr std::chrono::milliseconds kTtyWriteTimeout{1000};
// The latency timer set on the chip, in ms: the shortest, which the kernel also uses
// for low-latency ports; replies are passed on soonest.
inline constexpr int kTtyMinLatencyMs = 1;

// The USB vendor id of FTDI chips, as sysfs spells it.
inline constexpr const char* kFtdiVendorText = "0403";

// The ttyUSB terminals whose USB device has vendor 0403 (ttyUSB0, ttyUSB1, ... in
// numeric order), as paths under roots.dev, with their USB ids and serial numbers.
std::vector<FoundDevice> FindFtdiTtys(const TtyRoots& roots);

// The sysfs latency-timer attribute of a USB serial terminal (by its device path).
std::filesystem::path LatencyTimerAttribute(const TtyRoots& roots, const std::filesystem::path& ttyPath);

class TtySource final : public ByteSource {
 public:
  // devicePath empty: the FTDI terminal found through sysfs at each Open, when it is
  // the only one.
  TtySource(std::filesystem::path devicePath, DriverLog log, TtyRoots roots = {});
  TtySource(const TtySource&) = delete;
  TtySource& operator=(const TtySource&) = delete;

  // Opens the terminal raw, non-blocking and exclusive, sets the chip's latency timer
  // to its minimum when the sysfs attribute is writable, and flushes both directions.
  FT_STATUS Open() override;
  // The kernel driver picks its own transfer size; accepted and ignored.
  FT_STATUS SetTransferSize(std::uint32_t bytes) override;
  FT_STATUS ReadSome(std::span<std::uint8_t> into, std::size_t& got) override;
  // Waits at most kTtyWriteTimeout for the terminal to take all bytes.
  FT_STATUS Write(std::span<const std::uint8_t> bytes) override;
  FT_STATUS Flush(bool rx, bool tx) override;
  void Close() override;

 private:
  void SetMinimumLatency(const std::filesystem::path& ttyPath);
  // Logs what failed on path with the system's reason for error, and returns status.
  // Takes errno as an argument so that it is read before any text is built.
  FT_STATUS Fail(FT_STATUS status, std::string_view what, const std::filesystem::path& path, int error);

  const std::filesystem::path devicePath_;
  const DriverLog log_;
  const TtyRoots roots_;
  std::filesystem::path openPath_;  // the terminal open now
  UniqueFd fd_;
};
