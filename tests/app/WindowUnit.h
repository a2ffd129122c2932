// The simulated unit for the window tests, behind a tap that logs the wire, can refuse
// the start command and reports the abort command as it goes out. The unit runs on a
// clock the test moves. (Kept apart from the Qt headers: the firmware's own names clash
// with Qt's keywords.)
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drivers/D2xx.h"
#include "drivers/SimClock.h"

class WindowUnit : public D2xx {
 public:
  WindowUnit(const std::string& config, const SimClock& clock);
  ~WindowUnit() override;

  bool refuseStart = false;
  std::function<void()> onAbort;
  std::vector<std::string> wire;  // the lines written, without their CR

  bool Sent(const std::string& line) const;
  bool IsOpen() const;

  FT_STATUS Open() override;
  FT_STATUS Close() override;
  FT_STATUS SetUSBParameters(std::uint32_t in, std::uint32_t out) override;
  FT_STATUS Purge(std::uint32_t mask) override;
  FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override;
  FT_STATUS GetQueueStatus(std::uint32_t& queued) override;
  FT_STATUS Read(void* buffer, std::uint32_t n, std::uint32_t& read) override;

 private:
  class Unit;
  std::unique_ptr<Unit> unit_;
};
