#include "cli/Recover.h"

#include <algorithm>
#include <sstream>
#include <string>

#include "cli/CliPrompter.h"
#include "cli/Json.h"
#include "cli/Outputs.h"
#include "cli/Report.h"
#include "display/FftSettingRules.h"
#include "files/Myfile.h"
#include "files/PlatformFiles.h"
#include "ui/Mymessage.h"
#include "ui/NumberFormat.h"
#include "ui/TextHelpers.h"

namespace {

constexpr const char* kSamplesCsvFailure = "the samples could not be written";

void Say(const CliIo& io, const std::string& text) { std::fprintf(io.err, "zemtra-cli: %s\n", text.c_str()); }

int List(const std::filesystem::path& dir, const CliOptions& options, const CliIo& io) {
  JsonWriter w;
  w.BeginObject().Key("directory").String(dir.string()).Key("journals").BeginArray();
  std::string text;
  for (const JournalEntry& entry : ListJournals(dir)) {
    const JournalRead read = ReadJournalFile(entry.path);
    w.BeginObject().Key("id").String(entry.id).Key("path").String(entry.path.string());
    text += entry.id + "  ";
    if (!read.content) {
      w.Key("problem").String(read.problem).EndObject();
      text += "unreadable: " + read.problem + "\n";
      continue;
    }
    const JournalContent& j = *read.content;
    w.Key("start_text").String(j.header.save.StartDateTime);
    w.Key("samples_asked").Integer(SamplesAsked(j.header));
    w.Key("samples_received").Integer(static_cast<std::int64_t>(j.codes.size()));
    w.Key("end").String(JournalEndName(j.end)).Key("damaged").Bool(j.damaged).EndObject();
    text += VisibleText(j.header.save.StartDateTime) + "  " + FormatInteger(static_cast<std::int64_t>(j.codes.size())) +
            " of " + FormatInteger(SamplesAsked(j.header)) + " samples  " +
            (j.end == JournalEnd::None ? std::string("not ended (cut short)") : JournalEndName(j.end)) +
            (j.damaged ? ", damaged tail left out" : "") + "\n";
  }
  w.EndArray().EndObject();
  if (!options.json && text.empty()) text = "no journal in " + VisibleText(dir.string()) + "\n";
  return WriteReport(io.out, options.json ? w.Text() + "\n" : text) ? kExitOk : kExitReportLost;
}

// The journal the options name, or the most recent one; none (and why) otherwise.
std::optional<JournalEntry> Chosen(const std::filesystem::path& dir, const CliOptions& options, const CliIo& io) {
  const std::vector<JournalEntry> entries = ListJournals(dir);
  if (options.file.empty()) {
    if (!entries.empty()) return entries.back();
    Say(io, "no journal in " + VisibleText(dir.string()));
    return std::nullopt;
  }
  const auto named = std::find_if(entries.begin(), entries.end(), [&](const auto& e) { return e.id == options.file; });
  if (named != entries.end()) return *named;
  Say(io, "no journal '" + VisibleText(options.file) + "' in " + VisibleText(dir.string()) + " (see recover --list)");
  return std::nullopt;
}

}  // namespace

int RunRecover(const CliOptions& options, const CliIo& io) {
  const auto dir = JournalDirectory();
  if (!dir) {
    Say(io, "no state directory: " + NoStateDirectoryReason());
    return kExitFile;
  }
  if (options.list) return List(*dir, options, io);
  const auto entry = Chosen(*dir, options, io);
  if (!entry) return kExitFile;
  const JournalRead read = ReadJournalFile(entry->path);
  if (!read.content) {
    Say(io, "the journal could not be read: " + VisibleText(entry->path.string()) + ": " + read.problem);
    return kExitFile;
  }
  const JournalContent& journal = *read.content;
  const RecoverablePart part = DataFilePart(journal);

  CliPrompter prompter(options.yes, io.stdinIsTerminal, io.in, io.err, io.interruption);
  InterruptibleCalls calls(*io.fileCalls, io.interruption);
  std::vector<OutputFile> outputs;
  if (!options.out.empty()) {
    outputs.push_back(
        {"--out", "data", options.out, message_text::kDataSave, [&] {
           if (part.count == 0) return WriteResult::Failed;
           const RebuiltRecord record(journal.header, PartCodes(journal, part));
           const FftSetting fft = PartFftSetting(journal, part);
           SaveSetting save = journal.header.save;
           save.DataFileName = options.out;
           return TmyFile(prompter, calls).SaveDataFile(kDataFileHeader, journal.header.ad, record.data, fft, save);
         }});
  }
  if (!options.csv.empty()) {
    outputs.push_back({"--csv", "csv", options.csv, kSamplesCsvFailure,
                       [&] {
                         const std::string text = JournalSamplesCsv(journal);
                         if (ToStdout(options.csv))
                           return WriteReport(io.out, text) ? WriteResult::Written : WriteResult::Failed;
                         return WriteAsking(options.csv, prompter, calls, [&text](AtomicFile& out) {
                           out.Append(text);
                           return out.Good();
                         });
                       },
                       ToStdout(options.csv)});
  }
  if (const std::string conflict = SameFileConflict({{"the journal", entry->path.string()}}, outputs);
      !conflict.empty()) {
    Say(io, conflict);
    return kExitUsage;
  }
  if (!options.out.empty() && part.count == 0) {
    Say(io, "the journal holds fewer than " + FormatInteger(GetDataCount(0)) +
                " samples of one acquisition: no data file can be written (--csv writes what it holds)");
  }
  const auto files = WriteOutputs(outputs, io.interruption, io.err, [&calls] { return calls.TakeError(); });

  const std::int64_t written = options.out.empty() || part.count == 0 ? 0 : part.count;
  JsonWriter w;
  w.BeginObject().Key("id").String(entry->id).Key("path").String(entry->path.string());
  w.Key("start_text").String(journal.header.save.StartDateTime);
  w.Key("end").String(JournalEndName(journal.end)).Key("damaged").Bool(journal.damaged);
  w.Key("samples_asked").Integer(SamplesAsked(journal.header));
  w.Key("samples_received").Integer(static_cast<std::int64_t>(journal.codes.size()));
  w.Key("samples_written").Integer(written);
  FilesJson(files, w);
  w.EndObject();
  std::string text = "journal " + entry->id + ": " + FormatInteger(static_cast<std::int64_t>(journal.codes.size())) +
                     " of " + FormatInteger(SamplesAsked(journal.header)) + " samples received (" +
                     (journal.end == JournalEnd::None ? std::string("not ended") : JournalEndName(journal.end)) +
                     (journal.damaged ? ", damaged tail left out" : "") + ")\n";
  if (written > 0) text += "data file: " + FormatInteger(written) + " samples\n";
  text += FilesText(files);
  bool reported = true;
  if (AnyToStdout(outputs)) {
    // stdout carries the samples: the summary goes to stderr, line by line.
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) Say(io, line);
  } else {
    reported = WriteReport(io.out, options.json ? w.Text() + "\n" : text);
  }
  if (Interrupted(io.interruption)) return io.interruption->ExitCode();
  if (!reported) return kExitReportLost;
  return AnyFileFailed(files) ? kExitFile : kExitOk;
}
