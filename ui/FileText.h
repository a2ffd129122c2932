// Texts the program read from files (paths, start times) as the windows show them:
// UTF-8 when the bytes are UTF-8, else Shift-JIS (files written on Windows), else
// UTF-8 with U+FFFD for each byte that fits neither. The records keep the bytes; only
// the shown text is decoded, so a value is written back byte for byte.
#pragma once

#include <QString>
#include <cstddef>
#include <string>

QString FileText(const std::string& bytes);

// A path as FileText shows it, then shortened to at most maxCharacters characters
// (ShortenPath): the decoded text is shortened, so no character is cut in two.
QString ShortFileText(const std::string& pathBytes, std::size_t maxCharacters);
