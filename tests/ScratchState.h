// The journals of the measurements a test binary runs go to a scratch directory, never
// into the user's state directory, also when the binary runs outside ctest (which
// sets XDG_STATE_HOME itself; its value is kept).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

inline const bool kScratchStateDirectory = [] {
  const std::string dir = (std::filesystem::temp_directory_path() / "zemtra-test-state").string();
  return ::setenv("XDG_STATE_HOME", dir.c_str(), 0) == 0;
}();
