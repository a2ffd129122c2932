// Delivers the physical lines of a file one at a time, each without its line feed
// (a carriage return before it is kept). Lines are delivered whole; a line longer
// than kMaxLineBytes ends the reading as a failure, so hostile input cannot make
// memory grow without bound. Only regular files are read: a FIFO, a device or a
// directory is refused without being opened, so the open can never block.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "drivers/UniqueFd.h"

class LineReader {
 public:
  static constexpr std::size_t kMaxLineBytes = 64 * 1024;  // without the line feed

  enum class State { Reading, End, TooLong, ReadError };

  // Opens the file for reading; IsOpen tells whether that worked (false for a file
  // that is missing, unreadable or not a regular file).
  explicit LineReader(const std::filesystem::path& fileName);
  // Reads the lines of a text in memory, as a file holding those bytes.
  struct InMemory {};
  LineReader(InMemory, std::string_view text);

  bool IsOpen() const { return isOpen_; }
  // The next physical line; false at the end of the file or on a failure (see state).
  bool Next(std::string& line);
  State state() const { return state_; }
  // The number of the line Next delivered last (1 for the first); 0 before any.
  int LineNumber() const { return lineNumber_; }
  // Why the file could not be opened or read further: the system's reason ("No such
  // file or directory"), "not a regular file", or that a line is too long; empty
  // while reading went well.
  std::string Problem() const;

 private:
  bool Refill();

  UniqueFd fd_;
  bool isOpen_ = false;
  State state_ = State::Reading;
  int error_ = 0;        // the errno value of a failed open or read
  bool special_ = false;  // refused as no regular file
  int lineNumber_ = 0;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;   // first byte not yet delivered
  std::size_t size_ = 0;  // bytes held in buffer_
};
