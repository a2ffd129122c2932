// The real-hardware driver: the driver contract on top of a ByteSource, with one I/O
// thread per open device that keeps draining the device into a large receive ring.
// The program reads the unit only when its event loop is idle and takes only what is
// already queued, while the chip's own buffer fills within milliseconds at 4800
// records per second; the ring absorbs the difference.
//
// Rules of the driver:
// - Open opens the source on the calling thread, allocates the ring (kRingCapacity
//   bytes, once per open) and starts the I/O thread, which from then on reads whatever
//   the source delivers into the ring.
// - SetUSBParameters, Write, Purge and Close are handed to the I/O thread and performed
//   there between two reads, in the order they were called; the caller waits for the
//   result (at most one read of kSourcePollTimeout, plus the operation itself).
// - GetQueueStatus is the ring's fill level and Read pops from the ring: neither waits
//   for the device. Read delivers min(n, queued) bytes.
// - Receive faults are never silent. When bytes arrive and the ring is full, those that
//   do not fit are dropped and logged, and GetQueueStatus and Read fail with
//   FT_INSUFFICIENT_RESOURCES; the thread keeps draining (and dropping) so the device
//   never stalls. When the source fails a read, GetQueueStatus and Read fail with
//   FT_IO_ERROR and the thread stops reading. Either fault lasts until a Purge of the
//   receive queue whose flush succeeds; that empties the ring and reading resumes.
//   Write is not affected by a receive fault (the program must still be able to stop
//   the unit).
// - A call other than Open on a closed driver returns FT_INVALID_HANDLE; Open on an
//   open driver returns FT_DEVICE_NOT_OPENED. The destructor closes an open device.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "drivers/ByteSource.h"
#include "drivers/D2xx.h"
#include "drivers/DriverLog.h"
#include "drivers/RingBuffer.h"

class BufferedD2xx final : public D2xx {
 public:
  // Receive ring size in bytes: about two minutes of records at 4800 per second.
  static constexpr std::size_t kRingCapacity = std::size_t{4} * 1024 * 1024;
  // USB receive transfer size until SetUSBParameters changes it, and its limits (bytes).
  static constexpr std::uint32_t kDefaultTransferSize = 4096;
  static constexpr std::uint32_t kMinTransferSize = 64;
  static constexpr std::uint32_t kMaxTransferSize = 65536;

  // ringCapacity other than kRingCapacity is for tests.
  BufferedD2xx(std::unique_ptr<ByteSource> source, DriverLog log, std::size_t ringCapacity = kRingCapacity);
  ~BufferedD2xx() override;
  BufferedD2xx(const BufferedD2xx&) = delete;
  BufferedD2xx& operator=(const BufferedD2xx&) = delete;

  FT_STATUS Open() override;
  FT_STATUS Close() override;
  // inTransferSize must be a multiple of 64 from 64 to 65536; outTransferSize is
  // ignored (the chip sends what it is given).
  FT_STATUS SetUSBParameters(std::uint32_t inTransferSize, std::uint32_t outTransferSize) override;
  // mask may only hold FT_PURGE_RX and FT_PURGE_TX.
  FT_STATUS Purge(std::uint32_t mask) override;
  // written is n on success, 0 on failure.
  FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override;
  FT_STATUS GetQueueStatus(std::uint32_t& queued) override;
  FT_STATUS Read(void* buffer, std::uint32_t n, std::uint32_t& read) override;

 private:
  struct Command;
  enum class RxFault { kNone, kOverflow, kSourceError };

  // Queues command for the I/O thread and waits until it has been performed.
  FT_STATUS Perform(Command& command);
  // The I/O thread: commands first, otherwise one read into the ring.
  void IoLoop();
  FT_STATUS Execute(const Command& command);
  FT_STATUS ExecutePurge(std::uint32_t mask);
  void ReadIntoRing();
  // The status GetQueueStatus and Read report for the current receive fault.
  FT_STATUS RxFaultStatus() const;

  const std::unique_ptr<ByteSource> source_;
  const DriverLog log_;
  const std::size_t ringCapacity_;

  // Protects the members down to open_.
  mutable std::mutex mutex_;
  std::condition_variable commandPosted_;  // wakes the I/O thread while it does not read
  std::condition_variable commandDone_;    // wakes callers waiting in Perform
  std::deque<Command*> commands_;          // posted, not yet taken by the I/O thread
  std::optional<RingBuffer> ring_;         // exists while the device is open
  RxFault fault_ = RxFault::kNone;
  std::uint64_t droppedBytes_ = 0;  // received and dropped since the last overflow began
  bool open_ = false;

  // Used only by the I/O thread while it runs.
  std::vector<std::uint8_t> chunk_;  // kMaxTransferSize bytes, allocated by Open
  std::uint32_t transferSize_ = kDefaultTransferSize;

  std::thread thread_;
};
