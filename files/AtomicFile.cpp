#include "files/AtomicFile.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

#include "files/FileIdentity.h"
#include "files/PlatformFiles.h"

namespace {

// Bytes gathered before they are handed to the system in one call.
constexpr std::size_t kBufferBytes = 256 * 1024;
// Attempts at finding an unused temporary name before giving up.
constexpr int kNameAttempts = 100;
// New files get the usual permissions, narrowed by the process's umask.
constexpr unsigned kNewFileMode = 0666;

// A name beside the target that no other writer of this process or another uses;
// short, so that a target name near the system's limit still gets one.
std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::string name = ".zemtra-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter.fetch_add(1));
  name += ".tmp";
  return target.parent_path() / name;
}

// Makes the rename itself durable; a failure here leaves the new file in place, so
// it is not reported.
void SyncDirectoryOf(const std::filesystem::path& file, FileCalls& calls) {
  SyncDirectory(file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path(), calls);
}

}  // namespace

void FileCalls::GaveUp(int /*error*/) {}

FileCalls& SystemFileCalls() {
  static FileCalls calls;
  return calls;
}

AtomicFile::AtomicFile(std::filesystem::path target, FileCalls& calls) : target_(std::move(target)), calls_(calls) {
  // Saving through a symbolic link replaces the file it points to, not the link.
  std::error_code ec;
  if (std::filesystem::is_symlink(target_, ec)) {
    auto resolved = std::filesystem::weakly_canonical(target_, ec);
    if (!ec) target_ = std::move(resolved);
  }
}

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open() {
  if (fd_ >= 0 || target_.filename().empty() || IsSpecialFile(target_)) return false;
  // A file the user may not write (a read-only one, say) is not replaced behind that
  // protection: writing into it in place would fail as well.
  if (const int refusal = WriteRefusal(target_); refusal != 0) {
    error_ = refusal;
    return false;
  }
  for (int attempt = 0; attempt < kNameAttempts && fd_ < 0; ++attempt) {
    temporary_ = TemporaryNameFor(target_);
    fd_ = CreateNewFile(temporary_, kNewFileMode);
    if (fd_ < 0 && errno != EEXIST) break;
  }
  if (fd_ < 0) {
    error_ = errno;
    temporary_.clear();
    return false;
  }
  // A replaced file keeps its permissions.
  CopyPermissions(target_, fd_);
  failed_ = false;
  buffer_.clear();
  buffer_.reserve(kBufferBytes);
  return true;
}

void AtomicFile::Append(std::string_view bytes) {
  if (!Good()) return;
  if (buffer_.size() + bytes.size() > kBufferBytes) Flush();
  buffer_.append(bytes);
}

void AtomicFile::Flush() {
  std::size_t done = 0;
  while (!failed_ && done < buffer_.size()) {
    const ssize_t n = calls_.Write(fd_, buffer_.data() + done, buffer_.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      failed_ = true;
      error_ = n == 0 ? EIO : errno;
    }
  }
  buffer_.clear();
}

bool AtomicFile::Commit() {
  if (!Good()) {
    Discard();
    return false;
  }
  Flush();
  const auto noted = [this](bool succeeded) {
    if (!succeeded && error_ == 0) error_ = errno;
    return succeeded;
  };
  bool ok = !failed_ && noted(calls_.Sync(fd_) == 0);
  ok = noted(::close(fd_) == 0) && ok;
  fd_ = -1;
  ok = ok && noted(calls_.Rename(temporary_, target_) == 0);
  if (!ok) {
    Discard();
    return false;
  }
  temporary_.clear();
  SyncDirectoryOf(target_, calls_);
  return true;
}

void AtomicFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) RemoveFile(temporary_);
  temporary_.clear();
  buffer_.clear();
}

bool WriteWhole(const std::filesystem::path& target, FileCalls& calls, const std::function<bool(AtomicFile&)>& body) {
  AtomicFile out(target, calls);
  // Without Commit the temporary file is removed and the target stays as it was.
  if (out.Open() && body(out) && out.Commit()) return true;
  calls.GaveUp(out.Error());
  return false;
}
