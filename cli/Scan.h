// zemtra-cli scan: the FTDI devices each driver can reach, one line each, beginning
// with the --device value that names it, so that a user with several serial adapters
// attached picks the unit without opening (and detaching) any of them.
#pragma once

#include <span>

#include "cli/Commands.h"
#include "drivers/DeviceScan.h"

// Lists found on io.out: kExitOk, or kExitUnit with a message when nothing was found.
int ReportDevices(std::span<const FoundDevice> found, const CliIo& io);

// The devices attached to this machine, as ReportDevices lists them.
int RunScan(const CliIo& io);
