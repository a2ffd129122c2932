#include "app/JournalRecovery.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "analysis/Analysis.h"
#include "display/FftSettingRules.h"
#include "files/MeasureCsv.h"
#include "model/UnitTables.h"

namespace {

bool Unended(const JournalEntry& entry) {
  return ReadJournalEnd(entry.path) == JournalEnd::None && !JournalBeingWritten(entry.path);
}

std::set<std::string> AskedIds(const std::filesystem::path& dir) {
  std::ifstream in(dir / kAskedJournalsFile);
  std::set<std::string> ids;
  for (std::string line; std::getline(in, line);) ids.insert(line);
  return ids;
}

}  // namespace

std::int64_t SamplesAsked(const JournalHeader& header) {
  return static_cast<std::int64_t>(header.samples) * header.acquisitions;
}

RecoverablePart DataFilePart(const JournalContent& journal) {
  const std::int64_t received = static_cast<std::int64_t>(journal.codes.size());
  const std::int32_t per = journal.header.samples;
  for (std::int64_t first = per <= 0 ? 0 : (received - 1) / per * per; first >= 0 && per > 0; first -= per) {
    const std::int64_t in = std::min<std::int64_t>(received - first, per);
    std::int32_t count = GetDataCount(0);  // the smallest record a data file holds
    if (in < count) continue;
    while (count * 2 <= in && count * 2 <= kMaxSamples) count *= 2;
    return {static_cast<std::int32_t>(first), count};
  }
  return {};
}

FftSetting PartFftSetting(const JournalContent& journal, const RecoverablePart& part) {
  FftSetting fft = journal.header.fft;
  for (int sel = 0; sel < kDataCountChoices; ++sel) {
    if (GetDataCount(sel) == part.count) fft.DataCountSel = sel;
  }
  fft.DataCountMax = part.count;
  return fft;
}

std::span<const std::int32_t> PartCodes(const JournalContent& journal, const RecoverablePart& part) {
  return std::span(journal.codes).subspan(static_cast<std::size_t>(part.first), static_cast<std::size_t>(part.count));
}

RebuiltRecord::RebuiltRecord(const JournalHeader& header, std::span<const std::int32_t> codes)
    : adCode(codes.begin(), codes.end()), volt(codes.size()) {
  data.spsSel = static_cast<std::uint32_t>(header.ad.spsSel);
  data.sinc3 = header.ad.sinc3;
  data.ad_dnum = static_cast<std::int32_t>(codes.size());
  data.adCode = adCode.data();
  data.volt = volt.data();
  CodeToVolt(data, header.ad);
}

std::string JournalSamplesCsv(const JournalContent& journal) {
  const RebuiltRecord record(journal.header, journal.codes);
  return SamplesCsv(record.data, SamplesPerSecond(journal.header.ad.spsSel));
}

std::vector<KeptJournal> KeptJournals(const std::filesystem::path& dir) {
  std::vector<KeptJournal> kept;
  const std::vector<JournalEntry> entries = ListJournals(dir);
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    if (ReadJournalEnd(entry->path) == JournalEnd::Finished || JournalBeingWritten(entry->path)) continue;
    JournalRead read = ReadJournalFile(entry->path);
    if (read.content) kept.push_back({*entry, std::move(*read.content)});
  }
  return kept;
}

std::optional<KeptJournal> TakeUnendedJournal(const std::filesystem::path& dir, FileCalls& calls) {
  std::vector<JournalEntry> unended = ListJournals(dir);
  std::erase_if(unended, [](const JournalEntry& entry) { return !Unended(entry); });
  const std::set<std::string> asked = AskedIds(dir);
  std::optional<KeptJournal> newest;
  for (auto entry = unended.rbegin(); entry != unended.rend() && !newest; ++entry) {
    if (asked.contains(entry->id)) continue;
    JournalRead read = ReadJournalFile(entry->path);
    if (read.content) newest = KeptJournal{*entry, std::move(*read.content)};
  }
  if (!newest) return std::nullopt;
  // Only journals that still exist are named, so the list stays as short as the store.
  // A list that cannot be written only means the question comes again.
  WriteWhole(dir / kAskedJournalsFile, calls, [&unended](AtomicFile& out) {
    for (const JournalEntry& entry : unended) out.Append(entry.id + "\n");
    return out.Good();
  });
  return newest;
}
