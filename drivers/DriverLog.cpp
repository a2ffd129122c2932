#include "drivers/DriverLog.h"

#include <cstdio>
#include <string>

DriverLog StderrDriverLog() {
  return [](std::string_view line) {
    // One write per line so lines of the I/O thread and the caller never interleave.
    std::string text = "zemtra: ";
    text.append(line);
    text.push_back('\n');
    std::fwrite(text.data(), 1, text.size(), stderr);
  };
}
