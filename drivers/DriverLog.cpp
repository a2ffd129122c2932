#include "drivers/DriverLog.h"

#include <cstdio>
#include <string>
#include <utility>

DriverLog StderrDriverLog(std::string program) {
  return [prefix = std::move(program) + ": "](std::string_view line) {
    // One write per line so lines of the I/O thread and the caller never interleave.
    std::string text = prefix;
    text.append(line);
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), stderr);
  };
}
