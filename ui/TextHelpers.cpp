#include "ui/TextHelpers.h"

#include <algorithm>
#include <array>
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

// A UTF-8 continuation byte (10xxxxxx) starts no character.
bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

std::size_t CharacterCount(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

// The byte offset of the character with this 0-based index, or the text's size.
std::size_t OffsetOfCharacter(const std::string& text, std::size_t index) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (StartsCharacter(text[i]) && seen++ == index) return i;
  }
  return text.size();
}

// One shortening pass. Separators are single bytes, so cutting beside them never
// splits a character; the head and the tail are counted in characters.
std::string ShortenOnce(const std::string& path) {
  const auto seps = SeparatorPositions(path);
  if (seps.size() >= 3) {
    return path.substr(0, seps[1] + 1) + kEllipsis + path.substr(seps[2] + 1);
  }
  if (seps.size() == 2) {
    return path.substr(0, seps[0] + 1) + kEllipsis + path.substr(seps[1] + 1);
  }
  return path.substr(0, OffsetOfCharacter(path, kKeptHead)) + kEllipsis +
         path.substr(OffsetOfCharacter(path, kTailFrom));
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
  while (CharacterCount(result) > maxLength) {
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

namespace {

constexpr unsigned char kContinuationLow = 0x80;  // continuation bytes are 10xxxxxx
constexpr unsigned char kContinuationHigh = 0xBF;
constexpr unsigned char kFirstNonAscii = 0x80;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kC1Lead = 0xC2;        // U+0080 … U+00BF start with this byte
constexpr unsigned char kLastC1Second = 0x9F;  // … and U+009F is the last C1 control

void AppendHexEscape(std::string& out, unsigned char byte) {
  constexpr std::array<char, 17> kHex{"0123456789abcdef"};
  out += "\\x";
  out += kHex[byte >> 4];
  out += kHex[byte & 0xF];
}

}  // namespace

// The first continuation byte's narrower range excludes overlong forms, surrogates and
// code points above U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto lead = static_cast<unsigned char>(text[0]);
  if (lead < kFirstNonAscii) return 1;
  std::size_t length = 0;
  unsigned char low = kContinuationLow;
  unsigned char high = kContinuationHigh;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < (i == 1 ? low : kContinuationLow) || c > (i == 1 ? high : kContinuationHigh)) return 0;
  }
  return length;
}

std::string VisibleText(std::string_view text, bool keepLineFeeds) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = Utf8SequenceLength(text.substr(i));
    const bool c1 = length == 2 && byte == kC1Lead && static_cast<unsigned char>(text[i + 1]) <= kLastC1Second;
    const bool control = length == 1 && (byte < kFirstPrintable || byte == kDelete) && !(keepLineFeeds && byte == '\n');
    if (length == 0 || c1 || control) {
      const std::size_t escaped = std::max<std::size_t>(length, 1);
      for (std::size_t k = 0; k < escaped; ++k) AppendHexEscape(out, static_cast<unsigned char>(text[i + k]));
      i += escaped;
      continue;
    }
    out.append(text.substr(i, length));
    i += length;
  }
  return out;
}
