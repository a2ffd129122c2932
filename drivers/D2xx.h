// The USB driver contract the link relies on: seven calls with D2XX-style status
// codes (0 = success). Everything above the link sees only this interface; the
// backends are the simulated unit and the real-hardware drivers.
#pragma once

#include <cstdint>

using FT_STATUS = std::uint32_t;

// Status codes, numbered as the vendor library numbers them.
inline constexpr FT_STATUS FT_OK = 0;
inline constexpr FT_STATUS FT_INVALID_HANDLE = 1;
inline constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
inline constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
inline constexpr FT_STATUS FT_IO_ERROR = 4;
inline constexpr FT_STATUS FT_INSUFFICIENT_RESOURCES = 5;
inline constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
inline constexpr FT_STATUS FT_OTHER_ERROR = 18;

// Purge mask bits.
inline constexpr std::uint32_t FT_PURGE_RX = 1;
inline constexpr std::uint32_t FT_PURGE_TX = 2;

class D2xx {
 public:
  virtual ~D2xx() = default;

  // Opens device index 0. Only one device is open per driver object at a time.
  virtual FT_STATUS Open() = 0;
  // Releases the device.
  virtual FT_STATUS Close() = 0;
  // Sets the USB receive and transmit transfer sizes (the program asks 4096, 0).
  virtual FT_STATUS SetUSBParameters(std::uint32_t inTransferSize, std::uint32_t outTransferSize) = 0;
  // Discards the queues named by mask (FT_PURGE_RX | FT_PURGE_TX).
  virtual FT_STATUS Purge(std::uint32_t mask) = 0;
  // Hands n bytes to the driver; written receives the count taken.
  virtual FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) = 0;
  // The number of received bytes waiting.
  virtual FT_STATUS GetQueueStatus(std::uint32_t& queued) = 0;
  // Reads up to n bytes; with n not above the queued count it returns at once.
  // read receives the count delivered (a misbehaving driver may deliver fewer).
  virtual FT_STATUS Read(void* buffer, std::uint32_t n, std::uint32_t& read) = 0;
};
