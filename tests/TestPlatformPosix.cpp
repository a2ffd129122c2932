#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "TestPlatform.h"
#include "files/LockedDirectory.h"

namespace fs = std::filesystem;

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void SetEnvironment(const char* name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name, value->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

const char* StateDirectoryVariable() { return "XDG_STATE_HOME"; }

bool MakeFifo(const fs::path& path) { return ::mkfifo(path.c_str(), 0600) == 0; }

std::FILE* OpenFullDevice() { return std::fopen("/dev/full", "w"); }

bool UseTimeZone(const std::optional<std::string>& tz) {
  SetEnvironment("TZ", tz);
  ::tzset();
  return true;
}

namespace {

// Root ignores the permission bits, so the immutable attribute is set as well where it can be.
void SetImmutable(const fs::path& dir, bool on) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  int flags = 0;
  if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
  }
  ::close(fd);
}

}  // namespace

LockedDirectory::LockedDirectory(const fs::path& dir) : dir_(dir) {
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  if (::geteuid() == 0) SetImmutable(dir_, true);
}

LockedDirectory::~LockedDirectory() {
  if (::geteuid() == 0) SetImmutable(dir_, false);
  fs::permissions(dir_, fs::perms::owner_all);
}
