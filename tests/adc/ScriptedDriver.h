// A driver for tests: bytes waiting in `queued` are what the device has sent; each
// write logs its bytes and may queue the next scripted reply; every call can be made
// to fail; reads may deliver less than asked. Also a fake time base whose pump
// advances time, so time-outs run without sleeping.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "drivers/D2xx.h"

class ScriptedDriver : public D2xx {
 public:
  FT_STATUS openStatus = FT_OK;
  FT_STATUS usbStatus = FT_OK;
  FT_STATUS purgeStatus = FT_OK;
  FT_STATUS writeStatus = FT_OK;
  FT_STATUS queueStatus = FT_OK;
  FT_STATUS readStatus = FT_OK;

  std::string queued;                                                      // bytes waiting to be read
  std::deque<std::string> replies;                                         // queued one per write
  std::uint32_t maxDelivered = std::numeric_limits<std::uint32_t>::max();  // short reads
  std::vector<std::string> log;                                            // every call, in order

  FT_STATUS Open() override {
    log.push_back("Open");
    return openStatus;
  }
  FT_STATUS Close() override {
    log.push_back("Close");
    return FT_OK;
  }
  FT_STATUS SetUSBParameters(std::uint32_t in, std::uint32_t out) override {
    log.push_back("SetUSBParameters " + std::to_string(in) + " " + std::to_string(out));
    return usbStatus;
  }
  FT_STATUS Purge(std::uint32_t mask) override {
    log.push_back("Purge " + std::to_string(mask));
    if (purgeStatus == FT_OK) queued.clear();
    return purgeStatus;
  }
  FT_STATUS Write(const void* bytes, std::uint32_t n, std::uint32_t& written) override {
    log.push_back("Write " + std::string(static_cast<const char*>(bytes), n));
    written = n;
    if (!replies.empty()) {
      queued += replies.front();
      replies.pop_front();
    }
    return writeStatus;
  }
  FT_STATUS GetQueueStatus(std::uint32_t& count) override {
    count = static_cast<std::uint32_t>(queued.size());
    return queueStatus;
  }
  FT_STATUS Read(void* buffer, std::uint32_t n, std::uint32_t& read) override {
    log.push_back("Read " + std::to_string(n));
    read = std::min({n, maxDelivered, static_cast<std::uint32_t>(queued.size())});
    std::memcpy(buffer, queued.data(), read);
    queued.erase(0, read);
    return readStatus;
  }

  // Calls of the log that start with prefix.
  int Count(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(log.begin(), log.end(), [&](const std::string& entry) { return entry.rfind(prefix, 0) == 0; }));
  }
};

// Time that moves only when the pump runs: each turn of a wait loop is one step.
struct FakeTime {
  static constexpr std::chrono::milliseconds kStep{10};

  std::chrono::steady_clock::time_point now{};
  int pumps = 0;
  std::function<void(int)> onPump;  // called with the number of the pump turn (1, 2, …)

  std::function<void()> Pump() {
    return [this] {
      now += kStep;
      ++pumps;
      if (onPump) onPump(pumps);
    };
  }
  std::function<std::chrono::steady_clock::time_point()> Clock() {
    return [this] { return now; };
  }
};
