#include "files/Journal.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <ctime>
#include <fstream>
#include <iterator>
#include <system_error>

#include "files/FileIdentity.h"
#include "files/LineReader.h"
#include "files/Myfile.h"
#include "files/PlatformFiles.h"
#include "model/UnitTables.h"

namespace {

constexpr std::size_t kFileHeaderBytes = 12;   // magic, version, reserved
constexpr std::size_t kBlockFrameBytes = 9;    // kind, length, CRC
constexpr std::size_t kHeaderFixedBytes = 16;  // start, samples, acquisitions
constexpr char kHeaderBlock = 'H';
constexpr char kSampleBlock = 'S';
constexpr char kEndBlock = 'E';
constexpr unsigned kJournalMode = 0600;  // measurements are the user's own
constexpr int kNameAttempts = 100;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFU));
}
void PutU64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFFU));
}
std::uint64_t GetLe(std::string_view bytes, std::size_t at, int size) {
  std::uint64_t v = 0;
  for (int i = 0; i < size; ++i) {
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)])) << (8 * i);
  }
  return v;
}

std::string EncodeHeader(const JournalHeader& header) {
  std::string payload;
  PutU64(payload, static_cast<std::uint64_t>(header.startUnix));
  PutU32(payload, static_cast<std::uint32_t>(header.samples));
  PutU32(payload, static_cast<std::uint32_t>(header.acquisitions));
  StringSink settings;
  TmyFile::WriteAdUnitSection(settings, header.ad);
  TmyFile::WriteSaveSection(settings, header.save);
  TmyFile::WriteGraphSection(settings, header.fft);
  payload += settings.Text();
  return payload;
}

// The header's fields, checked as a settings file's are; a problem otherwise.
std::string DecodeHeader(std::string_view payload, JournalHeader& header) {
  constexpr const char* kBad = "the journal's header is not valid";
  if (payload.size() < kHeaderFixedBytes) return kBad;
  header.startUnix = static_cast<std::int64_t>(GetLe(payload, 0, 8));
  header.samples = static_cast<std::int32_t>(GetLe(payload, 8, 4));
  header.acquisitions = static_cast<std::int32_t>(GetLe(payload, 12, 4));
  LineReader in(LineReader::InMemory{}, payload.substr(kHeaderFixedBytes));
  if (!TmyFile::ReadAdUnitSection(in, header.ad) || !TmyFile::ReadSaveSection(in, header.save) ||
      !TmyFile::ReadGraphSection(in, header.fft)) {
    return kBad;
  }
  if (header.samples != header.fft.DataCountMax || header.acquisitions < 1 || header.ad.spsSel < 0 ||
      header.ad.spsSel >= kRateCount) {
    return kBad;
  }
  return {};
}

}  // namespace

std::uint32_t Crc32(std::string_view bytes, std::uint32_t crc) {
  crc = ~crc;
  for (const char b : bytes) crc = kCrcTable[(crc ^ static_cast<unsigned char>(b)) & 0xFFU] ^ (crc >> 8);
  return ~crc;
}

const char* JournalEndName(JournalEnd end) {
  switch (end) {
    case JournalEnd::None:
      break;
    case JournalEnd::Finished:
      return "finished";
    case JournalEnd::Stopped:
      return "stopped";
    case JournalEnd::Failed:
      return "failed";
  }
  return "none";
}

JournalRead ReadJournal(std::string_view bytes) {
  JournalRead read;
  if (bytes.empty()) return {std::nullopt, "the journal is empty"};
  if (bytes.size() < kFileHeaderBytes || bytes.substr(0, kJournalMagic.size()) != kJournalMagic) {
    return {std::nullopt, "not a journal"};
  }
  if (const auto version = GetLe(bytes, kJournalMagic.size(), 2); version != kJournalVersion) {
    return {std::nullopt, "the journal has version " + std::to_string(version) + "; this program reads version " +
                              std::to_string(kJournalVersion)};
  }
  JournalContent content;
  bool headerSeen = false;
  std::size_t at = kFileHeaderBytes;
  while (at < bytes.size()) {
    if (bytes.size() - at < kBlockFrameBytes) break;
    const char kind = bytes[at];
    const auto length = GetLe(bytes, at + 1, 4);
    if (length > bytes.size() - at - kBlockFrameBytes) break;  // cut in the middle of the block
    const std::size_t crcAt = at + 5 + static_cast<std::size_t>(length);
    if (Crc32(bytes.substr(at, 5 + static_cast<std::size_t>(length))) != GetLe(bytes, crcAt, 4)) break;
    const std::string_view payload = bytes.substr(at + 5, static_cast<std::size_t>(length));
    at = crcAt + 4;
    if (!headerSeen) {
      if (kind != kHeaderBlock) return {std::nullopt, "the journal's header is not valid"};
      if (std::string problem = DecodeHeader(payload, content.header); !problem.empty()) return {std::nullopt, problem};
      headerSeen = true;
    } else if (kind == kSampleBlock && payload.size() % 4 == 0 && content.end == JournalEnd::None) {
      for (std::size_t i = 0; i < payload.size(); i += 4) {
        content.codes.push_back(static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLe(payload, i, 4))));
      }
    } else if (kind == kEndBlock && payload.size() == 1 && content.end == JournalEnd::None &&
               static_cast<unsigned char>(payload[0]) >= static_cast<unsigned char>(JournalEnd::Finished) &&
               static_cast<unsigned char>(payload[0]) <= static_cast<unsigned char>(JournalEnd::Failed)) {
      content.end = static_cast<JournalEnd>(payload[0]);
    } else {
      break;  // a block that does not belong here: what follows is not trusted
    }
  }
  if (!headerSeen) return {std::nullopt, "the journal's header is damaged"};
  content.damaged = at < bytes.size();
  read.content = std::move(content);
  return read;
}

JournalRead ReadJournalFile(const std::filesystem::path& path) {
  if (IsSpecialFile(path)) return {std::nullopt, "not a regular file"};
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {std::nullopt, ec.message()};
  if (size > kMaxJournalBytes) return {std::nullopt, "the journal is larger than any this program writes"};
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) return {std::nullopt, "the journal could not be read"};
  return ReadJournal(bytes);
}

JournalEnd ReadJournalEnd(const std::filesystem::path& path) {
  constexpr std::size_t kEndBlockBytes = kBlockFrameBytes + 1;
  if (IsSpecialFile(path)) return JournalEnd::None;
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  const auto size = static_cast<std::streamoff>(in.tellg());
  if (!in || size < static_cast<std::streamoff>(kFileHeaderBytes + kEndBlockBytes)) return JournalEnd::None;
  std::string start(kFileHeaderBytes, '\0');
  in.seekg(0);
  if (!in.read(start.data(), static_cast<std::streamsize>(start.size())) ||
      start.substr(0, kJournalMagic.size()) != kJournalMagic ||
      GetLe(start, kJournalMagic.size(), 2) != kJournalVersion) {
    return JournalEnd::None;
  }
  std::string tail(kEndBlockBytes, '\0');
  in.seekg(size - static_cast<std::streamoff>(kEndBlockBytes));
  if (!in.read(tail.data(), static_cast<std::streamsize>(tail.size()))) return JournalEnd::None;
  const auto value = static_cast<unsigned char>(tail[5]);
  const bool whole = tail[0] == kEndBlock && GetLe(tail, 1, 4) == 1 && Crc32(tail.substr(0, 6)) == GetLe(tail, 6, 4);
  if (!whole || value < static_cast<unsigned char>(JournalEnd::Finished) ||
      value > static_cast<unsigned char>(JournalEnd::Failed)) {
    return JournalEnd::None;
  }
  return static_cast<JournalEnd>(value);
}

bool JournalBeingWritten(const std::filesystem::path& path) { return LockedByWriter(path); }

JournalWriter::JournalWriter(FileCalls& calls, Clock clock) : calls_(calls), clock_(std::move(clock)) {}

JournalWriter::~JournalWriter() { Close(); }

bool JournalWriter::Open(const std::filesystem::path& path, const JournalHeader& header) {
  Close();
  failed_ = false;
  error_ = 0;
  pending_.clear();
  path_ = path;
  fd_ = CreateNewFile(path, kJournalMode);
  if (fd_ < 0) {
    Fail(errno);
    return false;
  }
  // Without locks (some network file systems) the journal is only taken for one a
  // crash left while it is written.
  static_cast<void>(LockWhileWriting(fd_));
  std::string start(kJournalMagic);
  start.push_back(static_cast<char>(kJournalVersion & 0xFFU));
  start.push_back(static_cast<char>(kJournalVersion >> 8));
  start.append(2, '\0');
  WriteAll(start);
  WriteBlock(kHeaderBlock, EncodeHeader(header));
  SyncNow();
  // A journal without its header recovers nothing: it is not left behind.
  if (failed_) RemoveFile(path);
  return !failed_;
}

void JournalWriter::Append(std::span<const std::int32_t> codes) {
  if (fd_ < 0) return;
  for (const std::int32_t code : codes) PutU32(pending_, static_cast<std::uint32_t>(code));
  Tick();
}

void JournalWriter::Tick() {
  if (fd_ < 0 || clock_() - lastSync_ < kJournalSyncInterval) return;
  WritePending();
  SyncNow();
}

void JournalWriter::End(JournalEnd end) {
  if (fd_ < 0) return;
  WritePending();
  WriteBlock(kEndBlock, std::string(1, static_cast<char>(end)));
  SyncNow();
  Close();
}

void JournalWriter::WritePending() {
  if (pending_.empty()) return;
  WriteBlock(kSampleBlock, pending_);
  pending_.clear();
}

void JournalWriter::WriteBlock(char kind, std::string_view payload) {
  std::string block(1, kind);
  PutU32(block, static_cast<std::uint32_t>(payload.size()));
  block.append(payload);
  PutU32(block, Crc32(block));
  WriteAll(block);
}

void JournalWriter::WriteAll(std::string_view bytes) {
  std::size_t done = 0;
  while (fd_ >= 0 && done < bytes.size()) {
    const ssize_t n = calls_.Write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      Fail(n == 0 ? EIO : errno);
    }
  }
}

void JournalWriter::SyncNow() {
  if (fd_ < 0) return;
  if (calls_.Sync(fd_) != 0) return Fail(errno);
  lastSync_ = clock_();
}

void JournalWriter::Fail(int error) {
  failed_ = true;
  error_ = error;
  Close();
}

void JournalWriter::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pending_.clear();
}

std::optional<std::filesystem::path> JournalDirectory() {
  auto dir = UserStateDirectory();
  if (dir) *dir /= "zemtra";
  return dir;
}

std::vector<JournalEntry> ListJournals(const std::filesystem::path& dir) {
  std::vector<JournalEntry> entries;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const auto& path = it->path();
    if (path.extension() != kJournalExtension || !it->is_regular_file(ec)) continue;
    entries.push_back({path.stem().string(), path, it->file_size(ec)});
  }
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  return entries;
}

void PruneJournals(const std::filesystem::path& dir, std::size_t files, std::uintmax_t bytes,
                   const std::filesystem::path& keep) {
  std::vector<JournalEntry> entries = ListJournals(dir);
  std::uintmax_t total = 0;
  for (const auto& entry : entries) total += entry.bytes;
  std::size_t count = entries.size();
  std::error_code ec;
  for (const auto& entry : entries) {
    if (count <= files && total <= bytes) break;
    if (entry.path == keep) continue;
    if (std::filesystem::remove(entry.path, ec)) {
      --count;
      total -= entry.bytes;
    }
  }
}

std::filesystem::path NewJournalPath(const std::filesystem::path& dir, std::chrono::system_clock::time_point start) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(start);
  const std::tm utc = UtcCalendar(seconds);
  std::array<char, 32> stamp{};
  std::strftime(stamp.data(), stamp.size(), "%Y%m%d-%H%M%S", &utc);
  std::filesystem::path path = dir / (std::string(stamp.data()) + std::string(kJournalExtension));
  std::error_code ec;
  for (int n = 2; n < kNameAttempts && std::filesystem::exists(path, ec); ++n) {
    path = dir / (std::string(stamp.data()) + "-" + std::to_string(n) + std::string(kJournalExtension));
  }
  return path;
}
