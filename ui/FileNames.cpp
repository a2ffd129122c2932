#include "ui/FileNames.h"

#include <cctype>
#include <filesystem>

#include "ui/TextHelpers.h"

namespace {

// Where a path in another platform's form cannot be used as it stands.
constexpr bool kSlashOnlyPaths = std::filesystem::path::preferred_separator == '/';
// The characters that end a directory in a path of this platform.
constexpr const char* kSeparators = kSlashOnlyPaths ? "/" : "/\\";

bool HasDriveLetter(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 && path[1] == ':';
}

}  // namespace

std::string WithExtensionIfNoDot(const std::string& name, const std::string& extension) {
  return NameHasDot(name) ? name : name + extension;
}

std::string DataSaveName(const std::string& name) {
  return name.ends_with(kDataExtension) ? name : name + kDataExtension;
}

std::string ProposedSpectrumName(const std::string& dataFileName) {
  return dataFileName.empty() ? kAnyFftFile : CutExtension(dataFileName) + kFftExtension;
}

std::string DataNameOfSpectrum(const std::string& spectrumName) { return CutExtension(spectrumName) + kDataExtension; }

std::string DialogStartName(const std::string& name, const std::string& pattern) {
  if (IsUsablePathHere(name)) return name;
  const std::string fileName = FileNameOf(name);
  return IsUsablePathHere(fileName) ? fileName : pattern;
}

std::string PatternBeside(const std::string& path, const std::string& pattern) {
  const std::size_t separator = path.find_last_of(kSeparators);
  return separator == std::string::npos ? pattern : path.substr(0, separator + 1) + pattern;
}

bool IsUsablePathHere(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  if constexpr (kSlashOnlyPaths) return path.find('\\') == std::string::npos && !HasDriveLetter(path);
  return true;
}
