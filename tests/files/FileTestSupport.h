// Temporary directories and whole-file helpers for the file tests.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
 public:
  TempDir() {
    // A random name that no other test run holds: create_directory refuses one that exists.
    std::random_device seed;
    std::mt19937_64 random(seed());
    do {
      path_ = fs::temp_directory_path() / ("zemtra-files-" + std::to_string(random()));
    } while (!fs::create_directory(path_));
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }
  // Names of everything in the directory (to see that no temporary file is left).
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) names.push_back(entry.path().filename().string());
    return names;
  }

 private:
  fs::path path_;
};

// Whether the system lets a file in dir have this name (Windows refuses control
// characters in names, POSIX systems only '/' and NUL).
inline bool NameAllowed(const fs::path& dir, const std::string& name) {
  const fs::path probe = dir / name;
  if (!std::ofstream(probe).is_open()) return false;
  std::error_code ec;
  fs::remove(probe, ec);
  return true;
}

inline std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary);
  out << bytes;
}

// Lines joined with the given line end after each.
inline std::string JoinLines(const std::vector<std::string>& lines, const std::string& end = "\r\n") {
  std::string text;
  for (const auto& line : lines) text += line + end;
  return text;
}

// The lines of a file with CR LF ends.
inline std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (auto end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}
