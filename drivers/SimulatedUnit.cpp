#include "drivers/SimulatedUnit.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kMinTransferSize = 64;  // USB transfers are whole 64-byte packets
constexpr std::uint32_t kPurgeMask = FT_PURGE_RX | FT_PURGE_TX;
constexpr std::size_t kMaxReportedQueue = 0xFFFFFFFF;  // the queue count is a 32-bit value

}  // namespace

SimulatedUnit::SimulatedUnit(const SimConfig& config)
    : config(config),
      ownVirtualClock(config.clock == SimClockKind::Virtual ? std::make_unique<VirtualSimClock>() : nullptr),
      ownRealClock(config.clock == SimClockKind::Real ? std::make_unique<RealSimClock>() : nullptr),
      clock(ownVirtualClock ? static_cast<const SimClock*>(ownVirtualClock.get()) : ownRealClock.get()),
      firmware(config),
      pieceSizes(config.seed) {}

SimulatedUnit::SimulatedUnit(const SimConfig& config, const SimClock& clock)
    : config(config), clock(&clock), firmware(config), pieceSizes(config.seed) {}

FT_STATUS SimulatedUnit::Ready() {
  if (!isOpen) return FT_INVALID_HANDLE;
  if (!firmware.Unplugged()) firmware.Advance(clock->Now(), received);
  if (firmware.Unplugged()) return FT_IO_ERROR;
  if (config.fault.kind != FaultKind::Burst) readable = Pending();
  return FT_OK;
}

std::size_t SimulatedUnit::Pending() const { return received.size() - head; }

FT_STATUS SimulatedUnit::Open() {
  if (config.fault.kind == FaultKind::Absent || firmware.Unplugged()) return FT_DEVICE_NOT_FOUND;
  if (isOpen) return FT_DEVICE_NOT_OPENED;  // in use
  isOpen = true;
  return FT_OK;
}

FT_STATUS SimulatedUnit::Close() {
  const FT_STATUS status = Ready();
  isOpen = false;
  return status;
}

FT_STATUS SimulatedUnit::SetUSBParameters(std::uint32_t inTransferSize, std::uint32_t outTransferSize) {
  if (const FT_STATUS status = Ready(); status != FT_OK) return status;
  const auto valid = [](std::uint32_t size) {
    return size == 0 || (size >= kMinTransferSize && size <= kMaxTransferSize && size % kMinTransferSize == 0);
  };
  return valid(inTransferSize) && valid(outTransferSize) ? FT_OK : FT_INVALID_PARAMETER;
}

FT_STATUS SimulatedUnit::Purge(std::uint32_t mask) {
  if (const FT_STATUS status = Ready(); status != FT_OK) return status;
  if ((mask & ~kPurgeMask) != 0) return FT_INVALID_PARAMETER;
  // Commands are taken by the unit as they are written, so only the receive side holds bytes.
  if ((mask & FT_PURGE_RX) != 0) {
    received.clear();
    head = 0;
    readable = 0;
  }
  return FT_OK;
}

FT_STATUS SimulatedUnit::Write(const void* bytes, std::uint32_t n, std::uint32_t& written) {
  written = 0;
  if (const FT_STATUS status = Ready(); status != FT_OK) return status;
  firmware.Receive(std::string_view(static_cast<const char*>(bytes), n), clock->Now(), received);
  if (firmware.Unplugged()) return FT_IO_ERROR;
  written = n;
  return FT_OK;
}

FT_STATUS SimulatedUnit::GetQueueStatus(std::uint32_t& queued) {
  if (const FT_STATUS status = Ready(); status != FT_OK) return status;
  if (ownVirtualClock && firmware.Streaming() && Pending() < kRecordsPerVirtualStep * UnitFirmware::kRecordBytes) {
    const auto due = firmware.DueTime(kRecordsPerVirtualStep);
    if (due > ownVirtualClock->Now()) ownVirtualClock->Advance(due - ownVirtualClock->Now());
    if (const FT_STATUS status = Ready(); status != FT_OK) return status;
  }
  if (config.fault.kind == FaultKind::Burst && readable < Pending()) {
    std::uniform_int_distribution<std::uint64_t> piece(1, config.fault.count);
    readable = std::min<std::size_t>(Pending(), readable + piece(pieceSizes));
  }
  queued = static_cast<std::uint32_t>(std::min<std::size_t>(readable, kMaxReportedQueue));
  return FT_OK;
}

FT_STATUS SimulatedUnit::Read(void* buffer, std::uint32_t n, std::uint32_t& read) {
  read = 0;
  if (const FT_STATUS status = Ready(); status != FT_OK) return status;
  std::size_t count = std::min<std::size_t>(n, readable);
  if (config.fault.kind == FaultKind::Short && count > 1) count = (count + 1) / 2;
  std::memcpy(buffer, received.data() + head, count);
  head += count;
  readable -= count;
  // Drop what was read once it is the larger part, so reading stays linear in time.
  if (head > received.size() / 2) {
    received.erase(0, head);
    head = 0;
  }
  read = static_cast<std::uint32_t>(count);
  return FT_OK;
}

std::unique_ptr<D2xx> MakeSimulatedDriver(const std::string& config, std::string& error) {
  const std::optional<SimConfig> parsed = ParseSimulatedConfig(config, error);
  if (!parsed) return nullptr;
  return std::make_unique<SimulatedUnit>(*parsed);
}
