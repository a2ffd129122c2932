// Recovering a journalled measurement (files/Journal.h): the part of it a data file
// can hold, that part (or every sample) rebuilt as a record, and which journals a
// person is offered. Both programs take this one road, so a measurement recovered in
// the window is the one `zemtra-cli recover --out` writes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "files/AtomicFile.h"
#include "files/Journal.h"
#include "model/Records.h"

// The samples the measurement asked for: per acquisition × acquisitions.
std::int64_t SamplesAsked(const JournalHeader& header);

// The part of a journal a data file can hold: the largest power-of-two prefix (at
// least 1024 samples) of the last acquisition that has one. count 0: none has.
struct RecoverablePart {
  std::int32_t first = 0;  // index of its first sample among the codes received
  std::int32_t count = 0;
};
RecoverablePart DataFilePart(const JournalContent& journal);
// The journal's display and analysis settings with the part's sample count.
FftSetting PartFftSetting(const JournalContent& journal, const RecoverablePart& part);
// The codes of the part.
std::span<const std::int32_t> PartCodes(const JournalContent& journal, const RecoverablePart& part);

// Codes with the volts CodeToVolt gives them, in arrays of their own size, as the
// measurement's settings convert them.
struct RebuiltRecord {
  RebuiltRecord(const JournalHeader& header, std::span<const std::int32_t> codes);
  RebuiltRecord(const RebuiltRecord&) = delete;
  RebuiltRecord& operator=(const RebuiltRecord&) = delete;

  std::vector<std::int32_t> adCode;
  std::vector<float> volt;
  MeasureData data;
};

// Every sample received as CSV (files/MeasureCsv.h), at the measurement's rate.
std::string JournalSamplesCsv(const JournalContent& journal);

// A journal a person may recover, read whole.
struct KeptJournal {
  JournalEntry entry;
  JournalContent content;
};

// The journals of dir of measurements that did not finish (stopped, failed, or that
// no program ended) and that no program writes now, newest first; unreadable ones
// are left out.
std::vector<KeptJournal> KeptJournals(const std::filesystem::path& dir);

// The journal to ask about at the window's start: the newest one that no program
// ended, no program writes and that was not asked about before. Every such journal
// of dir counts as asked about from then on (kAskedJournalsFile), so one crash is
// asked about once; the menu keeps offering them all.
std::optional<KeptJournal> TakeUnendedJournal(const std::filesystem::path& dir, FileCalls& calls);
// The ids asked about, one a line, beside the journals.
inline constexpr const char* kAskedJournalsFile = "asked";
