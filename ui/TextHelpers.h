// Small text helpers for captions, file names and hexadecimal digits. Paths may use
// '\' or '/' as separators; positions in the comments are 1-based.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Everything after the last separator; empty when there is none or it is last.
std::string FileNameOf(const std::string& path);

// Deletes every carriage return and every line feed, in place.
void RemoveCrLf(std::string& text);

// Shortens a path for display to at most maxLength characters where possible,
// replacing middle components by "..."; maxLength 0 leaves the path unchanged. The
// path is UTF-8 text (file bytes are decoded first, FileText): characters are counted
// and never split.
std::string ShortenPath(const std::string& path, std::size_t maxLength);

// The path up to the first '.' of its last component, or the whole path when that
// component has none: a dot in a directory name is not an extension.
std::string CutExtension(const std::string& fileName);

// "0".."9" for 0..9, "A".."F" for 10..15, "X" otherwise.
std::string HexChar(int value);

// True when the last component of the path (the file name) contains a '.'; a '.' in
// a directory name does not count.
bool NameHasDot(const std::string& path);

// Length of the well-formed UTF-8 sequence at the start of text (1 for ASCII), or 0
// when none starts there: a stray continuation byte, an overlong form, a surrogate,
// a code point above U+10FFFF, or a sequence cut short.
std::size_t Utf8SequenceLength(std::string_view text);

// Text for a terminal: every control character (C0, DEL and the C1 controls U+0080 to
// U+009F), NUL included, and every byte that starts no well-formed UTF-8 sequence is
// shown as \xHH, one per byte, so that bytes read from files or devices can neither
// cut the text short nor drive the terminal. Line feeds stay when keepLineFeeds.
std::string VisibleText(std::string_view text, bool keepLineFeeds = false);
