// Where the USB backends report what went wrong: one line per event, without the
// newline. Every failing device call is logged with the reason the library or the
// kernel gives, because the driver contract itself only carries a status code.
#pragma once

#include <functional>
#include <string>
#include <string_view>

using DriverLog = std::function<void(std::string_view line)>;

// A log that writes "<program>: <line>" to standard error, program being the name of
// the program the driver runs in ("zemtra", "zemtra-cli"); callable from several
// threads.
DriverLog StderrDriverLog(std::string program);
