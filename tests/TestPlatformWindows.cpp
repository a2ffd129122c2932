#include <cstdlib>
#include <ctime>

#include "TestPlatform.h"
#include "files/LockedDirectory.h"

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void SetEnvironment(const char* name, const std::optional<std::string>& value) {
  // An empty value removes the variable.
  ::_putenv_s(name, value ? value->c_str() : "");
}

const char* StateDirectoryVariable() { return "LOCALAPPDATA"; }

bool MakeFifo(const std::filesystem::path& /*path*/) { return false; }

std::FILE* OpenFullDevice() { return nullptr; }

bool UseTimeZone(const std::optional<std::string>& tz) {
  if (tz && tz->find_first_of(",<") != std::string::npos) return false;
  SetEnvironment("TZ", tz);
  ::_tzset();
  return true;
}

// Windows keeps a directory's access rules in lists of its own, which a test cannot
// narrow for itself; the directory stays open and Holds() reports it.
LockedDirectory::LockedDirectory(const std::filesystem::path& dir) : dir_(dir) {}

LockedDirectory::~LockedDirectory() = default;
