// The measurement journal: every sample of a measurement as it arrives, with what is
// needed to rebuild the record, so that a measurement cut short by a crash, a kill or
// a power cut can be recovered. One file per measurement.
//
// Format (all integers little-endian):
//   file header  8 bytes "ZMJRNL\r\n", u16 version (kJournalVersion), u16 0
//   blocks       u8 kind, u32 payload length, payload, u32 CRC-32 (IEEE) of kind,
//                length and payload
//     'H' header   (first block, exactly once) i64 start (Unix seconds), i32 samples
//                  per acquisition, i32 acquisitions, then the settings sections A, F
//                  and G as the settings file writes them (StartDateTime included)
//     'S' samples  i32 codes, in the order received; the acquisitions follow each
//                  other, each of `samples` codes but the last
//     'E' end      u8 JournalEnd (the last block)
// A reader takes every whole block up to the first damaged or missing one; a file
// without an end block is one no program ended (a crash, a kill, a power cut).
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/AtomicFile.h"
#include "model/Records.h"

inline constexpr std::uint16_t kJournalVersion = 1;
inline constexpr std::string_view kJournalMagic = "ZMJRNL\r\n";
inline constexpr std::string_view kJournalExtension = ".zjournal";
// The longest time a received sample waits before it is written and synced.
inline constexpr std::chrono::milliseconds kJournalSyncInterval{1000};

// How the measurement ended.
enum class JournalEnd : std::uint8_t {
  None = 0,      // no end block: no program ended it
  Finished = 1,  // every sample asked for came in
  Stopped = 2,   // the user's stop or a signal
  Failed = 3,    // a read failure, a stall or an input level out of range
};

// Its name in lists and JSON: "none", "finished", "stopped", "failed".
const char* JournalEndName(JournalEnd end);

// What is needed to rebuild the record.
struct JournalHeader {
  AdUnitSetting ad;            // the converter settings in use
  FftSetting fft;              // the display and analysis settings, the count asked for
  SaveSetting save;            // StartDateTime and the data-file settings
  std::int64_t startUnix = 0;  // the start, seconds since 1970 UTC
  std::int32_t samples = 0;    // asked for per acquisition
  std::int32_t acquisitions = 1;
};

struct JournalContent {
  JournalHeader header;
  std::vector<std::int32_t> codes;  // every sample received
  JournalEnd end = JournalEnd::None;
  bool damaged = false;  // bytes after the last whole block were left out
};

struct JournalRead {
  std::optional<JournalContent> content;  // none: refused
  std::string problem;                    // why it was refused; empty otherwise
};

// Reads a journal's bytes; never throws on any input.
JournalRead ReadJournal(std::string_view bytes);
// Reads a journal file (regular files only, at most kMaxJournalBytes).
JournalRead ReadJournalFile(const std::filesystem::path& path);
// Above the largest journal a measurement makes: 1000 averaged acquisitions of 65536
// samples hold 262 MB of codes.
inline constexpr std::uintmax_t kMaxJournalBytes = 512ULL * 1024 * 1024;

// How a journal file ended, from its last block alone (cheap for a long one): None
// when it has no whole end block.
JournalEnd ReadJournalEnd(const std::filesystem::path& path);
// Whether a program is writing the journal now (the writer holds a lock on it that
// ends with its process, however that ends): a journal without an end block that
// no program writes is one a crash, a kill or a power cut left.
bool JournalBeingWritten(const std::filesystem::path& path);

// CRC-32 (IEEE 802.3, reflected, as zlib's crc32) of bytes, continuing from crc.
std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc = 0);

// Writes one journal. Samples are gathered in memory and written as one block, then
// synced, once kJournalSyncInterval has passed since the last sync (never a sync per
// record). The first failure ends the writing; the error is kept for one warning.
class JournalWriter {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  JournalWriter(FileCalls& calls, Clock clock);
  ~JournalWriter();  // closes without an end block, as a crash would leave it
  JournalWriter(const JournalWriter&) = delete;
  JournalWriter& operator=(const JournalWriter&) = delete;

  // Creates the file (never replacing one), locks it (JournalBeingWritten) and writes
  // the header block, synced.
  bool Open(const std::filesystem::path& path, const JournalHeader& header);
  // Gathers received samples; writes and syncs when the interval is due.
  void Append(std::span<const std::int32_t> codes);
  // Writes and syncs what was gathered when the interval is due (also with no new samples).
  void Tick();
  // Writes what was gathered and the end block, syncs and closes.
  void End(JournalEnd end);

  bool IsOpen() const { return fd_ >= 0; }
  bool Failed() const { return failed_; }
  int Error() const { return error_; }  // errno of the first failed call; 0 while none
  const std::filesystem::path& Path() const { return path_; }

 private:
  void WriteBlock(char kind, std::string_view payload);
  void WriteAll(std::string_view bytes);
  void WritePending();
  void SyncNow();
  void Fail(int error);
  void Close();

  FileCalls& calls_;
  Clock clock_;
  std::filesystem::path path_;
  int fd_ = -1;
  bool failed_ = false;
  int error_ = 0;
  std::string pending_;  // the codes gathered since the last sample block, encoded
  std::chrono::steady_clock::time_point lastSync_{};
};

// The journals of one directory, newest last by name (the name starts with the
// start time), and the limits on what is kept.
struct JournalEntry {
  std::string id;  // the file name without kJournalExtension
  std::filesystem::path path;
  std::uintmax_t bytes = 0;
};

inline constexpr std::size_t kMaxJournalFiles = 10;
inline constexpr std::uintmax_t kMaxJournalStoreBytes = 50ULL * 1024 * 1024;

// The directory journals go to: $XDG_STATE_HOME/zemtra, else $HOME/.local/state/zemtra
// (%LOCALAPPDATA%\zemtra on Windows); none without either.
std::optional<std::filesystem::path> JournalDirectory();
// The journals in dir, oldest first; none (empty) when it cannot be read.
std::vector<JournalEntry> ListJournals(const std::filesystem::path& dir);
// Removes the oldest journals until at most `files` remain and they hold at most
// `bytes`, keeping `keep` whatever its size.
void PruneJournals(const std::filesystem::path& dir, std::size_t files, std::uintmax_t bytes,
                   const std::filesystem::path& keep = {});
// A name for a new journal in dir for a measurement started at `start` (UTC
// "YYYYMMDD-HHMMSS", with "-2", "-3" … when taken).
std::filesystem::path NewJournalPath(const std::filesystem::path& dir, std::chrono::system_clock::time_point start);
