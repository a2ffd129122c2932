// The file calls on Windows, through the C runtime's descriptors where it has them
// and the Win32 calls where it has none (replacing a file, a file's identity).
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <iomanip>
#include <sstream>

#include "files/AtomicFile.h"
#include "files/PlatformFiles.h"

namespace {

// The access mode _waccess checks for writing.
constexpr int kWriteAccess = 2;

// The errno value closest to a Win32 error, for the messages that name the cause.
int ErrnoFor(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_NOT_SAME_DEVICE:
      return EXDEV;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

}  // namespace

ssize_t FileCalls::Write(int fd, const char* data, std::size_t size) {
  // The runtime's write takes an unsigned int; a larger buffer goes in parts.
  constexpr std::size_t kLargestWrite = 1U << 30U;
  return ::_write(fd, data, static_cast<unsigned>(size < kLargestWrite ? size : kLargestWrite));
}

int FileCalls::Sync(int fd) { return ::_commit(fd); }

int FileCalls::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
  // The runtime's rename refuses an existing target; this replaces it in one step.
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
  errno = ErrnoFor(::GetLastError());
  return -1;
}

int CreateNewFile(const std::filesystem::path& path, unsigned /*mode*/) {
  return ::_wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

int OpenForReading(const std::filesystem::path& path) {
  return ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

namespace {

// Windows locks are mandatory: the writer locks a byte far beyond any journal's end,
// so that readers of the content are never refused.
constexpr DWORD kLockOffsetHigh = 0x40000000;

bool LockByte(int fd, DWORD flags) {
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (handle == INVALID_HANDLE_VALUE) return false;
  OVERLAPPED where{};
  where.OffsetHigh = kLockOffsetHigh;
  return ::LockFileEx(handle, flags | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where) != 0;
}

}  // namespace

bool LockWhileWriting(int fd) { return LockByte(fd, LOCKFILE_EXCLUSIVE_LOCK); }

bool LockedByWriter(const std::filesystem::path& path) {
  const int fd = OpenForReading(path);
  if (fd < 0) return false;
  const bool locked = !LockByte(fd, 0) && ::GetLastError() == ERROR_LOCK_VIOLATION;
  ::_close(fd);  // closing releases a lock this test took
  return locked;
}

bool IsRegularFile(int fd) {
  struct _stat64 status {};
  return ::_fstat64(fd, &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG;
}

void RemoveFile(const std::filesystem::path& path) { ::_wunlink(path.c_str()); }

int WriteRefusal(const std::filesystem::path& path) {
  if (::_waccess(path.c_str(), kWriteAccess) == 0 || errno == ENOENT) return 0;
  return errno;
}

// A replaced file's access rules belong to its directory; the read-only attribute
// refuses the replacement before it starts (WriteRefusal).
void CopyPermissions(const std::filesystem::path& /*from*/, int /*fd*/) {}

// NTFS makes a replacement durable with the write-through rename itself.
void SyncDirectory(const std::filesystem::path& /*dir*/, FileCalls& /*calls*/) {}

std::optional<DiskIdentity> IdentityOf(const std::filesystem::path& path) {
  // Opening for no access at all reads the attributes of anything, directories included.
  HANDLE handle = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
  const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
  ::CloseHandle(handle);
  if (!known) return std::nullopt;
  constexpr unsigned kHighShift = 32;
  return DiskIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << kHighShift) | info.nFileIndexLow,
                      disk && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0};
}

std::optional<std::filesystem::path> UserStateDirectory() {
  const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA");
  if (local == nullptr || local[0] == L'\0') return std::nullopt;
  return std::filesystem::path(local);
}

std::string NoStateDirectoryReason() { return "LOCALAPPDATA is not set"; }

std::tm UtcCalendar(std::time_t when) {
  std::tm calendar{};
  ::gmtime_s(&calendar, &when);
  return calendar;
}

std::tm LocalCalendar(std::time_t when) {
  std::tm calendar{};
  ::localtime_s(&calendar, &when);
  return calendar;
}

bool ParseCalendar(const std::string& text, const char* format, std::tm& out) {
  std::istringstream in(text);
  in >> std::get_time(&out, format);
  return !in.fail() && in.peek() == std::char_traits<char>::eof();
}

long UtcOffsetSeconds(const std::tm& normalised) {
  // The same fields read as UTC, less the moment they name locally.
  std::tm asUtc = normalised;
  std::tm asLocal = normalised;
  return static_cast<long>(::_mkgmtime(&asUtc) - std::mktime(&asLocal));
}
