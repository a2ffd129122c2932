// The journal of the session's measurements: which file each measurement goes to,
// which journals are kept, and the one warning when journalling fails. A failure
// never reaches the measurement: it goes on without its journal.
//
// Kept: the journals of measurements that did not finish (stopped, failed, or that no
// program ended), at most kMaxJournalFiles holding kMaxJournalStoreBytes, oldest
// removed first; the journal of a finished measurement until that measurement is
// written to a data file or the next measurement starts.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "files/Journal.h"

class MeasurementJournal {
 public:
  MeasurementJournal(FileCalls& calls, JournalWriter::Clock clock);

  // Where journals go; none (the default) journals nothing.
  void SetDirectory(std::optional<std::filesystem::path> dir) { dir_ = std::move(dir); }

  // A new measurement: the previous finished one's journal goes, old ones are pruned,
  // and a new journal is opened with the header.
  void Begin(const JournalHeader& header, std::chrono::system_clock::time_point start);
  void Append(std::span<const std::int32_t> codes);
  void Tick();
  // The measurement ended; a finished one's journal is remembered until saved or replaced.
  void End(JournalEnd end);
  // A measurement that started at `start` (its StartDateTime) was written to a data
  // file: the finished measurement's journal goes when it is that measurement.
  void Saved(const std::string& start);

  // The warning of a journal that could not be written, once per measurement; empty
  // when there is none (or it was taken already).
  std::string TakeWarning();
  // The file of the measurement being journalled; empty when none.
  const std::filesystem::path& Path() const { return writer_.Path(); }

 private:
  void NoteFailure();
  void Forget();  // removes the finished measurement's journal

  JournalWriter writer_;
  std::optional<std::filesystem::path> dir_;
  std::filesystem::path finished_;  // the finished measurement's journal, until saved or replaced
  std::string finishedStart_;       // its StartDateTime
  std::string start_;               // the StartDateTime of the measurement being journalled
  std::string warning_;
  bool warned_ = false;  // this measurement's warning was given
};
