#include "cli/Outputs.h"

#include <algorithm>

#include "files/FileIdentity.h"
#include "model/TextCatalogue.h"
#include "ui/TextHelpers.h"

namespace {

FileOutcome Attempt(const OutputFile& output, const Interruption* interruption) {
  if (Interrupted(interruption)) return FileOutcome::Interrupted;
  if (!output.toStdout && IsSpecialFile(output.path)) return FileOutcome::NotRegularFile;
  const WriteResult result = output.write();
  // A signal during the question or the writing leaves the file unwritten.
  if (result != WriteResult::Written && Interrupted(interruption)) return FileOutcome::Interrupted;
  switch (result) {
    case WriteResult::Written:
      return FileOutcome::Written;
    case WriteResult::Declined:
      return FileOutcome::Declined;
    case WriteResult::Failed:
      break;
  }
  return FileOutcome::Failed;
}

}  // namespace

std::string SameFileConflict(const std::vector<InputFile>& inputs, const std::vector<OutputFile>& outputs) {
  for (auto output = outputs.begin(); output != outputs.end(); ++output) {
    if (output->toStdout) {
      const auto later = std::find_if(std::next(output), outputs.end(), [](const OutputFile& o) { return o.toStdout; });
      if (later != outputs.end()) return output->role + " and " + later->role + " both write to the standard output";
      continue;
    }
    // Inputs first: the user's files are what an overwrite would cost.
    const auto input = std::find_if(inputs.begin(), inputs.end(),
                                    [&output](const InputFile& other) { return SameFile(output->path, other.path); });
    if (input != inputs.end()) {
      return input->role + " and " + output->role + " name the same file: " + VisibleText(output->path);
    }
    const auto later = std::find_if(std::next(output), outputs.end(), [&output](const OutputFile& other) {
      return !other.toStdout && SameFile(output->path, other.path);
    });
    if (later != outputs.end()) {
      return output->role + " and " + later->role + " name the same file: " + VisibleText(output->path);
    }
  }
  return {};
}

std::vector<WrittenFile> WriteOutputs(const std::vector<OutputFile>& outputs, const Interruption* interruption,
                                      std::FILE* err, const std::function<int()>& takeError) {
  std::vector<WrittenFile> files;
  for (const auto& output : outputs) {
    if (takeError) takeError();  // what an earlier file left behind
    WrittenFile file{output.kind, output.path, Attempt(output, interruption)};
    if (file.outcome == FileOutcome::Failed && takeError) file.error = takeError();
    if (file.outcome == FileOutcome::Failed || file.outcome == FileOutcome::NotRegularFile) {
      std::fprintf(err, "zemtra-cli: %s: %s (%s)\n", Localized(output.failureText).c_str(),
                   output.toStdout ? "the standard output" : VisibleText(output.path).c_str(), ReasonOf(file).c_str());
    }
    files.push_back(std::move(file));
  }
  return files;
}

bool AnyToStdout(const std::vector<OutputFile>& outputs) {
  return std::any_of(outputs.begin(), outputs.end(), [](const OutputFile& o) { return o.toStdout; });
}

bool AnyFileFailed(const std::vector<WrittenFile>& files) {
  return std::any_of(files.begin(), files.end(), [](const WrittenFile& f) {
    return f.outcome == FileOutcome::Failed || f.outcome == FileOutcome::NotRegularFile;
  });
}
