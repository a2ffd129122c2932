// The journals of the measurements a test binary runs go to a scratch directory, never
// into the user's state directory, also when the binary runs outside ctest (which
// sets the state directory's variable itself; its value is kept).
#pragma once

#include <filesystem>

#include "TestPlatform.h"

inline const bool kScratchStateDirectory = [] {
  if (!Environment(StateDirectoryVariable())) {
    SetEnvironment(StateDirectoryVariable(), (std::filesystem::temp_directory_path() / "zemtra-test-state").string());
  }
  return true;
}();
