// A directory made to refuse new entries for the time of a test; where the system
// cannot do that (Windows: no permission bit refuses them), Holds() says so and the
// test skips. tests/TestPlatformPosix.cpp and TestPlatformWindows.cpp lock it.
#pragma once

#include <filesystem>
#include <fstream>
#include <system_error>

class LockedDirectory {
 public:
  explicit LockedDirectory(const std::filesystem::path& dir);
  ~LockedDirectory();
  LockedDirectory(const LockedDirectory&) = delete;
  LockedDirectory& operator=(const LockedDirectory&) = delete;

  // True when creating a file in the directory really fails.
  bool Holds() const {
    const std::filesystem::path probe = dir_ / "probe";
    if (std::ofstream(probe).is_open()) {
      std::error_code ec;
      std::filesystem::remove(probe, ec);
      return false;
    }
    return true;
  }

 private:
  std::filesystem::path dir_;
};
