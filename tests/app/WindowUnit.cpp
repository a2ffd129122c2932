#include "WindowUnit.h"

#include <algorithm>

#include "adc/SimulatedBench.h"

class WindowUnit::Unit {
 public:
  Unit(const std::string& config, const SimClock& clock) : unit(SimulatedBench::MakeUnit(config, clock)) {}
  std::unique_ptr<SimulatedUnit> unit;
};

WindowUnit::WindowUnit(const std::string& config, const SimClock& clock)
    : unit_(std::make_unique<Unit>(config, clock)) {}

WindowUnit::~WindowUnit() = default;

bool WindowUnit::Sent(const std::string& line) const { return std::find(wire.begin(), wire.end(), line) != wire.end(); }

bool WindowUnit::IsOpen() const { return unit_->unit->IsOpen(); }

FT_STATUS WindowUnit::Open() { return unit_->unit->Open(); }
FT_STATUS WindowUnit::Close() { return unit_->unit->Close(); }
FT_STATUS WindowUnit::SetUSBParameters(std::uint32_t in, std::uint32_t out) {
  return unit_->unit->SetUSBParameters(in, out);
}
FT_STATUS WindowUnit::Purge(std::uint32_t mask) { return unit_->unit->Purge(mask); }

FT_STATUS WindowUnit::Write(const void* bytes, std::uint32_t n, std::uint32_t& written) {
  std::string line(static_cast<const char*>(bytes), n);
  if (line.ends_with('\r')) line.pop_back();
  wire.push_back(line);
  if (line == "AX" && onAbort) onAbort();
  if (refuseStart && line.starts_with("A") && line != "AX") return FT_IO_ERROR;
  return unit_->unit->Write(bytes, n, written);
}

FT_STATUS WindowUnit::GetQueueStatus(std::uint32_t& queued) { return unit_->unit->GetQueueStatus(queued); }
FT_STATUS WindowUnit::Read(void* buffer, std::uint32_t n, std::uint32_t& read) {
  return unit_->unit->Read(buffer, n, read);
}
