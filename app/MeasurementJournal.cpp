#include "app/MeasurementJournal.h"

#include <cstring>
#include <system_error>
#include <utility>

MeasurementJournal::MeasurementJournal(FileCalls& calls, JournalWriter::Clock clock)
    : writer_(calls, std::move(clock)) {}

void MeasurementJournal::Begin(const JournalHeader& header, std::chrono::system_clock::time_point start) {
  if (writer_.IsOpen()) writer_.End(JournalEnd::Stopped);
  Forget();  // replaced by this measurement
  start_ = header.save.StartDateTime;
  warned_ = false;
  warning_.clear();
  if (!dir_) return;
  std::error_code ec;
  std::filesystem::create_directories(*dir_, ec);
  // A finished measurement of an earlier run of either program is replaced as well.
  for (const JournalEntry& entry : ListJournals(*dir_)) {
    if (ReadJournalEnd(entry.path) == JournalEnd::Finished) std::filesystem::remove(entry.path, ec);
  }
  // Room for the new journal among the ones kept.
  PruneJournals(*dir_, kMaxJournalFiles - 1, kMaxJournalStoreBytes);
  if (!writer_.Open(NewJournalPath(*dir_, start), header)) NoteFailure();
}

void MeasurementJournal::Append(std::span<const std::int32_t> codes) {
  if (!writer_.IsOpen()) return;
  writer_.Append(codes);
  if (writer_.Failed()) NoteFailure();
}

void MeasurementJournal::Tick() {
  if (!writer_.IsOpen()) return;
  writer_.Tick();
  if (writer_.Failed()) NoteFailure();
}

void MeasurementJournal::End(JournalEnd end) {
  if (!writer_.IsOpen()) return;
  writer_.End(end);
  if (writer_.Failed()) return NoteFailure();
  if (end != JournalEnd::Finished) return;
  finished_ = writer_.Path();
  finishedStart_ = start_;
}

void MeasurementJournal::Saved(const std::string& start) {
  // Another measurement (a data file loaded since) leaves the journal as it is.
  if (start == finishedStart_) Forget();
}

void MeasurementJournal::Forget() {
  if (finished_.empty()) return;
  std::error_code ec;
  std::filesystem::remove(finished_, ec);
  finished_.clear();
  finishedStart_.clear();
}

std::string MeasurementJournal::TakeWarning() { return std::exchange(warning_, {}); }

void MeasurementJournal::NoteFailure() {
  if (warned_) return;
  warned_ = true;
  warning_ = "the journal could not be written (" + writer_.Path().string() + ": " + std::strerror(writer_.Error()) +
             "); the measurement goes on without it";
}
