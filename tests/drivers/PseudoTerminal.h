// A pseudo-terminal for the terminal backend's tests: the test plays the unit on the
// master side; the backend opens the slave path as if it were /dev/ttyUSB0.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <string_view>

#include "drivers/UniqueFd.h"

class PseudoTerminal {
 public:
  PseudoTerminal() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
    std::array<char, 128> name{};
    if (master_.Valid() && ::grantpt(master_.Get()) == 0 && ::unlockpt(master_.Get()) == 0 &&
        ::ptsname_r(master_.Get(), name.data(), name.size()) == 0) {
      slavePath_ = name.data();
    }
  }

  bool Valid() const { return !slavePath_.empty(); }
  const std::string& SlavePath() const { return slavePath_; }
  int Master() const { return master_.Get(); }
  void CloseMaster() { master_.Reset(); }

  // Writes all of bytes to the master side, waiting while the terminal is full.
  bool WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t count = ::write(master_.Get(), bytes.data(), bytes.size());
      if (count > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(count));
      } else if (!WaitFor(POLLOUT)) {
        return false;
      }
    }
    return true;
  }

  // Reads from the master side until count bytes came or limit passed.
  std::string ReadSome(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (text.size() < count && std::chrono::steady_clock::now() < deadline) {
      std::array<char, 256> chunk{};
      const ssize_t got = ::read(master_.Get(), chunk.data(), std::min(chunk.size(), count - text.size()));
      if (got > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(got));
      } else {
        WaitFor(POLLIN);
      }
    }
    return text;
  }

 private:
  bool WaitFor(short events) {
    constexpr int kPollMs = 10;
    pollfd wait{master_.Get(), events, 0};
    return ::poll(&wait, 1, kPollMs) >= 0;
  }

  UniqueFd master_;
  std::string slavePath_;
};
