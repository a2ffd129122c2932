// A byte pipe to the converter unit's USB FIFO chip: the part of a real-hardware
// driver that differs between libftdi1 and the kernel's serial driver. BufferedD2xx
// calls every operation from its own I/O thread, one at a time, after Open.
// Sources log the reason of every failure themselves and return a D2XX status.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "drivers/D2xx.h"

// How long ReadSome may wait for bytes before it returns with none; it bounds how
// long a write, purge or close waits behind a read.
inline constexpr std::chrono::milliseconds kSourcePollTimeout{10};

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // Opens the device: FT_DEVICE_NOT_FOUND when none is attached, FT_DEVICE_NOT_OPENED
  // when one is there but cannot be opened (in use, no permission).
  virtual FT_STATUS Open() = 0;
  // Sets the size of USB receive transfers in bytes (a multiple of 64, 64 to 65536).
  virtual FT_STATUS SetTransferSize(std::uint32_t bytes) = 0;
  // Stores up to into.size() received bytes, waiting at most about kSourcePollTimeout
  // for the first; got receives the count, 0 when nothing arrived.
  virtual FT_STATUS ReadSome(std::span<std::uint8_t> into, std::size_t& got) = 0;
  // Sends all bytes, or fails.
  virtual FT_STATUS Write(std::span<const std::uint8_t> bytes) = 0;
  // Discards what the device and the source hold of received (rx) and unsent (tx) bytes.
  virtual FT_STATUS Flush(bool rx, bool tx) = 0;
  // Releases the device; harmless when it is not open.
  virtual void Close() = 0;
};
