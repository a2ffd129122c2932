#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "files/AtomicFile.h"
#include "files/PlatformFiles.h"

ssize_t FileCalls::Write(int fd, const char* data, std::size_t size) { return ::write(fd, data, size); }
int FileCalls::Sync(int fd) { return ::fsync(fd); }
int FileCalls::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  return ::rename(from.c_str(), to.c_str());
}

int CreateNewFile(const std::filesystem::path& path, unsigned mode) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
}

int OpenForReading(const std::filesystem::path& path) {
  return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool LockWhileWriting(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

bool LockedByWriter(const std::filesystem::path& path) {
  const int fd = OpenForReading(path);
  if (fd < 0) return false;
  const bool locked = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  ::close(fd);
  return locked;
}

bool IsRegularFile(int fd) {
  struct stat status {};
  return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

void RemoveFile(const std::filesystem::path& path) { ::unlink(path.c_str()); }

int WriteRefusal(const std::filesystem::path& path) {
  if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT) return 0;
  return errno;
}

void CopyPermissions(const std::filesystem::path& from, int fd) {
  constexpr mode_t kPermissionBits = 07777;
  struct stat existing {};
  if (::stat(from.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & kPermissionBits);
}

void SyncDirectory(const std::filesystem::path& dir, FileCalls& calls) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  calls.Sync(fd);
  ::close(fd);
}

std::optional<DiskIdentity> IdentityOf(const std::filesystem::path& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return std::nullopt;
  return DiskIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
                      S_ISREG(status.st_mode)};
}

std::optional<std::filesystem::path> UserStateDirectory() {
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
    return std::filesystem::path(state);
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    return std::filesystem::path(home) / ".local" / "state";
  }
  return std::nullopt;
}

std::string NoStateDirectoryReason() { return "neither XDG_STATE_HOME nor HOME is set"; }

std::tm UtcCalendar(std::time_t when) {
  std::tm calendar{};
  ::gmtime_r(&when, &calendar);
  return calendar;
}

std::tm LocalCalendar(std::time_t when) {
  std::tm calendar{};
  ::localtime_r(&when, &calendar);
  return calendar;
}

bool ParseCalendar(const std::string& text, const char* format, std::tm& out) {
  const char* end = ::strptime(text.c_str(), format, &out);
  return end != nullptr && *end == '\0';
}

long UtcOffsetSeconds(const std::tm& normalised) { return normalised.tm_gmtoff; }
