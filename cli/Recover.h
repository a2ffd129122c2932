// zemtra-cli recover: the journals of measurements (files/Journal.h) listed, or one
// of them written out as a data file and as CSV, so that a measurement cut short
// (a crash, a kill, a power cut, a stop) is not lost.
#pragma once

#include "app/JournalRecovery.h"
#include "cli/Commands.h"

// recover [--list] [ID] [--out FILE.DTA] [--csv FILE.csv] [--json] [--yes], on the
// journals of JournalDirectory().
int RunRecover(const CliOptions& options, const CliIo& io);
