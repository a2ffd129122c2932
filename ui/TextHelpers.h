// Small text helpers for captions, file names and hexadecimal digits. Paths may use
// '\' or '/' as separators; positions in the comments are 1-based.
#pragma once

#include <string>

// Everything after the last separator; empty when there is none or it is last.
std::string FileNameOf(const std::string& path);

// Deletes every carriage return and every line feed, in place.
void RemoveCrLf(std::string& text);

// Shortens a path for display to at most maxLength characters where possible,
// replacing middle components by "..."; maxLength 0 leaves the path unchanged.
std::string ShortenPath(const std::string& path, std::size_t maxLength);

// The path up to the first '.' of its last component, or the whole path when that
// component has none: a dot in a directory name is not an extension.
std::string CutExtension(const std::string& fileName);

// "0".."9" for 0..9, "A".."F" for 10..15, "X" otherwise.
std::string HexChar(int value);

// True when the last component of the path (the file name) contains a '.'; a '.' in
// a directory name does not count.
bool NameHasDot(const std::string& path);
