// zemtra-cli recover: the journals of measurements (files/Journal.h) listed, or one
// of them written out as a data file and as CSV, so that a measurement cut short
// (a crash, a kill, a power cut, a stop) is not lost.
#pragma once

#include <cstdint>
#include <vector>

#include "cli/Commands.h"
#include "files/Journal.h"

// The part of a journal a data file can hold: the largest power-of-two prefix (at
// least 1024 samples) of the last acquisition that has one. count 0: none has.
struct RecoverablePart {
  std::int32_t first = 0;  // index of its first sample among the codes received
  std::int32_t count = 0;
};
RecoverablePart DataFilePart(const JournalContent& journal);

// recover [--list] [ID] [--out FILE.DTA] [--csv FILE.csv] [--json] [--yes], on the
// journals of JournalDirectory().
int RunRecover(const CliOptions& options, const CliIo& io);
