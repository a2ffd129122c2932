// Arbitrary bytes as a measurement journal. The reader must not crash, leak or read
// outside the input; a journal it takes holds no more codes than its bytes can carry,
// a header whose count is the one its settings ask for, and written out again (header,
// codes, end) reads back the same. The recovery road takes any journal the reader
// takes: the part a data file can hold lies within the codes received, and that part
// and every sample convert to volts.
#include <chrono>
#include <string_view>

#include "app/JournalRecovery.h"
#include "files/Journal.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFiles scratch;
  static UnsyncedFileCalls calls;
  const JournalRead read = ReadJournal(std::string_view(reinterpret_cast<const char*>(data), size));
  FUZZ_CHECK(read.content.has_value() == read.problem.empty());
  if (!read.content) return 0;
  const JournalContent& first = *read.content;
  FUZZ_CHECK(first.codes.size() <= size / 4);
  FUZZ_CHECK(first.header.samples == first.header.fft.DataCountMax && first.header.acquisitions >= 1);
  const RecoverablePart part = DataFilePart(first);
  if (part.count > 0) {
    FUZZ_CHECK(part.first >= 0 &&
               static_cast<std::size_t>(part.first) + static_cast<std::size_t>(part.count) <= first.codes.size());
    FUZZ_CHECK(part.count >= 1024 && part.count <= kMaxSamples && (part.count & (part.count - 1)) == 0);
    FUZZ_CHECK(PartFftSetting(first, part).DataCountMax == part.count);
    const RebuiltRecord record(first.header, PartCodes(first, part));
    FUZZ_CHECK(record.data.ad_dnum == part.count);
  }
  FUZZ_CHECK(JournalSamplesCsv(first).size() >= first.codes.size());

  const auto copy = scratch / "copy.zjournal";
  std::filesystem::remove(copy);
  {
    // Each look at the clock finds the sync due, so every code is written at once.
    JournalWriter writer(
        calls, [n = 0]() mutable { return std::chrono::steady_clock::time_point{} + ++n * kJournalSyncInterval; });
    FUZZ_CHECK(writer.Open(copy, first.header));
    writer.Append(first.codes);
    if (first.end != JournalEnd::None) writer.End(first.end);
  }
  const JournalRead again = ReadJournalFile(copy);
  FUZZ_CHECK(again.content.has_value());
  FUZZ_CHECK(again.content->codes == first.codes && again.content->end == first.end && !again.content->damaged);
  const JournalHeader& h = again.content->header;
  FUZZ_CHECK(h.ad == first.header.ad && h.fft == first.header.fft && h.save == first.header.save);
  FUZZ_CHECK(h.startUnix == first.header.startUnix && h.samples == first.header.samples &&
             h.acquisitions == first.header.acquisitions);
  return 0;
}
