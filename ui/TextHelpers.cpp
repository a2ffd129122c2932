#include "ui/TextHelpers.h"

#include <algorithm>
#include <vector>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Where the last path component (the file name) begins.
std::string::const_iterator NameStart(const std::string& path) {
  return std::find_if(path.rbegin(), path.rend(), IsSeparator).base();
}

std::vector<std::size_t> SeparatorPositions(const std::string& text) {
  std::vector<std::size_t> positions;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsSeparator(text[i])) positions.push_back(i);
  }
  return positions;
}

const std::string kEllipsis = "...";
constexpr std::size_t kKeptHead = 3;   // characters kept in front without separators
constexpr std::size_t kTailFrom = 10;  // 0-based start of the kept tail (the 11th character)

// One shortening pass.
std::string ShortenOnce(const std::string& path) {
  const auto seps = SeparatorPositions(path);
  if (seps.size() >= 3) {
    return path.substr(0, seps[1] + 1) + kEllipsis + path.substr(seps[2] + 1);
  }
  if (seps.size() == 2) {
    return path.substr(0, seps[0] + 1) + kEllipsis + path.substr(seps[1] + 1);
  }
  std::string out = path.substr(0, kKeptHead) + kEllipsis;
  if (path.size() > kTailFrom) out += path.substr(kTailFrom);
  return out;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
  const auto last = std::find_if(path.rbegin(), path.rend(), IsSeparator);
  if (last == path.rend()) return {};
  return std::string(last.base(), path.end());
}

void RemoveCrLf(std::string& text) {
  std::erase(text, '\r');
  std::erase(text, '\n');
}

std::string ShortenPath(const std::string& path, std::size_t maxLength) {
  std::string result = path;
  if (maxLength == 0) return result;
  // Passes go on while the text is too long; a pass that no longer changes the
  // text ends the loop, so small limits terminate too.
  while (result.size() > maxLength) {
    std::string next = ShortenOnce(result);
    if (next == result) break;
    result = std::move(next);
  }
  return result;
}

std::string CutExtension(const std::string& fileName) {
  return {fileName.begin(), std::find(NameStart(fileName), fileName.end(), '.')};
}

bool NameHasDot(const std::string& path) { return std::find(NameStart(path), path.end(), '.') != path.end(); }

std::string HexChar(int value) {
  constexpr int kDecimalDigits = 10;
  constexpr int kHexDigits = 16;
  if (value >= 0 && value < kDecimalDigits) return std::string(1, static_cast<char>('0' + value));
  if (value >= kDecimalDigits && value < kHexDigits) {
    return std::string(1, static_cast<char>('A' + value - kDecimalDigits));
  }
  return "X";
}
