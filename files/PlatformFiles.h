// The operating system's file calls that differ between platforms, behind one set of
// functions: PlatformFilesPosix.cpp and PlatformFilesWindows.cpp implement them, and
// also the real calls of FileCalls. Failures set errno as the POSIX calls do.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>

// A new file, created for writing only and not inherited by programs started later;
// -1 with errno set (EEXIST when the name is taken). The mode is the POSIX permission
// (narrowed by the umask); Windows files take their directory's access rules instead.
int CreateNewFile(const std::filesystem::path& path, unsigned mode);
// A file opened for reading, without waiting for a FIFO's writer or taking a terminal
// as the controlling one; -1 with errno set.
int OpenForReading(const std::filesystem::path& path);
// An advisory lock that a writer holds on its open file for as long as it keeps it open
// (the process's end releases it); false where the file system has no locks.
bool LockWhileWriting(int fd);
// True when another open descriptor holds that lock on the file.
bool LockedByWriter(const std::filesystem::path& path);
// True when the open descriptor is a regular file.
bool IsRegularFile(int fd);
// Removes a file; a failure is not reported (only left-overs are removed).
void RemoveFile(const std::filesystem::path& path);
// 0 when this process may write the file or it does not exist, else the errno value
// of the refusal (EACCES for a read-only file).
int WriteRefusal(const std::filesystem::path& path);
// Gives the open file the permissions of the file it is about to replace.
void CopyPermissions(const std::filesystem::path& from, int fd);
class FileCalls;
// Makes the renames in a directory durable through calls.Sync where the system needs
// it (POSIX).
void SyncDirectory(const std::filesystem::path& dir, FileCalls& calls);

// Where a file lives on disk: the same identity means the same file, through hard and
// symbolic links. Empty when the path does not exist. Also tells a regular file from
// anything else (a device, a FIFO, a directory).
struct DiskIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  bool regular = false;
  bool operator==(const DiskIdentity& other) const { return device == other.device && file == other.file; }
};
std::optional<DiskIdentity> IdentityOf(const std::filesystem::path& path);

// The user's directory for state kept between runs (journals): $XDG_STATE_HOME, else
// $HOME/.local/state; %LOCALAPPDATA% on Windows. Empty when the environment names none.
std::optional<std::filesystem::path> UserStateDirectory();
// Why there is none, as a message says it: "neither XDG_STATE_HOME nor HOME is set".
std::string NoStateDirectoryReason();

// The calendar of a moment: in UTC and in the local time zone.
std::tm UtcCalendar(std::time_t when);
std::tm LocalCalendar(std::time_t when);
// Reads the whole text as a local time in strftime's notation (fields only: %Y %m %d
// %H %M %S and literal characters); false when the text does not match it all.
bool ParseCalendar(const std::string& text, const char* format, std::tm& out);
// How far the local time that mktime normalised is east of UTC, in seconds.
long UtcOffsetSeconds(const std::tm& normalised);
