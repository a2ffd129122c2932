// The simulated QT4418PX behind the driver contract: the unit's firmware, its
// receive queue as the driver keeps it, and the driver-level faults (absent,
// unplugged, short or piecemeal deliveries). Everything the firmware sends on the
// simulated clock becomes readable through GetQueueStatus and Read, in order.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "drivers/D2xx.h"
#include "drivers/SimClock.h"
#include "drivers/SimulatedConfig.h"
#include "drivers/UnitFirmware.h"

class SimulatedUnit final : public D2xx {
 public:
  // Records a queue query makes due on the self-advancing virtual clock.
  static constexpr std::uint64_t kRecordsPerVirtualStep = 32;
  static constexpr std::uint32_t kMaxTransferSize = 65536;  // largest USB transfer size accepted

  // Runs on its own clock: the real clock, or for clock=virtual a virtual clock that
  // moves at a queue query, while fewer than 32 records wait, just far enough for 32
  // more records of a running stream to be due.
  explicit SimulatedUnit(const SimConfig& config);
  // Runs on the caller's clock (which must outlive the unit); time moves only as the
  // caller moves it.
  SimulatedUnit(const SimConfig& config, const SimClock& clock);

  FT_STATUS Open() override;
  FT_STATUS Close() override;
  FT_STATUS SetUSBParameters(std::uint32_t inTransferSize, std::uint32_t outTransferSize) override;
  FT_STATUS Purge(std::uint32_t mask) override;
  FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override;
  FT_STATUS GetQueueStatus(std::uint32_t& queued) override;
  FT_STATUS Read(void* buffer, std::uint32_t n, std::uint32_t& read) override;

  const UnitFirmware& Firmware() const { return firmware; }
  bool IsOpen() const { return isOpen; }

 private:
  // Checks that the device is open and still plugged in, and takes in what the
  // firmware has sent by now.
  FT_STATUS Ready();
  // Bytes received from the unit and not yet read.
  std::size_t Pending() const;

  SimConfig config;
  std::unique_ptr<VirtualSimClock> ownVirtualClock;  // set when the unit moves its own time
  std::unique_ptr<RealSimClock> ownRealClock;
  const SimClock* clock;
  UnitFirmware firmware;
  std::string received;  // bytes from the unit; those before head are read already
  std::size_t head = 0;
  std::size_t readable = 0;    // pending bytes the host may read (Burst: those released)
  std::mt19937_64 pieceSizes;  // Burst: lengths of the released pieces
  bool isOpen = false;
};

// A simulated unit from a textual CONFIG, on its own clock; nothing and a message
// naming the bad item when the CONFIG is malformed.
std::unique_ptr<D2xx> MakeSimulatedDriver(const std::string& config, std::string& error);
