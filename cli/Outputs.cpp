#include "cli/Outputs.h"

#include <algorithm>

#include "files/FileIdentity.h"
#include "ui/TextHelpers.h"

namespace {

FileOutcome Attempt(const OutputFile& output, const Interruption* interruption) {
  if (Interrupted(interruption)) return FileOutcome::Interrupted;
  if (IsSpecialFile(output.path)) return FileOutcome::NotRegularFile;
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
    const auto sameAsOutput = [&output](const auto& other) { return SameFile(output->path, other.path); };
    // Inputs first: the user's files are what an overwrite would cost.
    if (const auto input = std::find_if(inputs.begin(), inputs.end(), sameAsOutput); input != inputs.end()) {
      return input->role + " and " + output->role + " name the same file: " + VisibleText(output->path);
    }
    if (const auto later = std::find_if(std::next(output), outputs.end(), sameAsOutput); later != outputs.end()) {
      return output->role + " and " + later->role + " name the same file: " + VisibleText(output->path);
    }
  }
  return {};
}

std::vector<WrittenFile> WriteOutputs(const std::vector<OutputFile>& outputs, const Interruption* interruption,
                                      std::FILE* err) {
  std::vector<WrittenFile> files;
  for (const auto& output : outputs) {
    const FileOutcome outcome = Attempt(output, interruption);
    if (outcome == FileOutcome::Failed || outcome == FileOutcome::NotRegularFile) {
      std::fprintf(err, "%s: %s (%s)\n", output.failureText.c_str(), VisibleText(output.path).c_str(),
                   ReasonOf(outcome));
    }
    files.push_back({output.kind, output.path, outcome});
  }
  return files;
}

bool AnyFileFailed(const std::vector<WrittenFile>& files) {
  return std::any_of(files.begin(), files.end(), [](const WrittenFile& f) {
    return f.outcome == FileOutcome::Failed || f.outcome == FileOutcome::NotRegularFile;
  });
}
