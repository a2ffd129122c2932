#include "files/AskedWrite.h"

#include <string>
#include <system_error>

#include "model/TextCatalogue.h"
#include "ui/Mymessage.h"

namespace {

bool MayReplace(const std::filesystem::path& target, Prompter& prompter) {
  std::error_code ec;
  if (!std::filesystem::exists(target, ec)) return true;
  const std::string question =
      Localized("ファイル：%1があります。\n上書きしますか", {prompter.PathText(target.string())});
  return prompter.AskYesNo(question, kProgramCaption);
}

}  // namespace

WriteResult WriteAsking(const std::filesystem::path& target, Prompter& prompter, FileCalls& calls,
                        const std::function<bool(AtomicFile&)>& body) {
  if (!MayReplace(target, prompter)) return WriteResult::Declined;
  return WriteWhole(target, calls, body) ? WriteResult::Written : WriteResult::Failed;
}
