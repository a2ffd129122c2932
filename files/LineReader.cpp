#include "files/LineReader.h"

#include <cerrno>
#include <cstring>

#include "files/FileIdentity.h"
#include "files/PlatformFiles.h"

namespace {
// Bytes read from the file in one go.
constexpr std::size_t kChunkBytes = 64 * 1024;
}  // namespace

LineReader::LineReader(const std::filesystem::path& fileName) : buffer_(kChunkBytes) {
  // Opening a device can have effects of its own (a serial line's modem signals), so
  // special files are refused before the open; the open does not wait for a writer
  // should the name have become a FIFO since, and the opened file is checked again.
  special_ = IsSpecialFile(fileName);
  if (!special_) {
    fd_.Reset(OpenForReading(fileName));
    if (!fd_.Valid()) error_ = errno;
  }
  isOpen_ = fd_.Valid() && IsRegularFile(fd_.Get());
  if (fd_.Valid() && !isOpen_) special_ = true;
  if (!isOpen_) {
    fd_.Reset();
    state_ = State::ReadError;
  }
}

LineReader::LineReader(InMemory /*tag*/, std::string_view text)
    : isOpen_(true), buffer_(text.begin(), text.end()), size_(text.size()) {}

bool LineReader::Next(std::string& line) {
  if (state_ != State::Reading) return false;
  line.clear();
  bool anyByte = false;
  for (;;) {
    if (pos_ == size_ && !Refill()) {
      // The last line may end without a line feed.
      return anyByte && state_ == State::End;
    }
    const char* begin = buffer_.data() + pos_;
    const std::size_t available = size_ - pos_;
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', available));
    const std::size_t length = lf != nullptr ? static_cast<std::size_t>(lf - begin) : available;
    if (!anyByte) ++lineNumber_;
    if (line.size() + length > kMaxLineBytes) {
      state_ = State::TooLong;
      return false;
    }
    line.append(begin, length);
    anyByte = true;
    if (lf != nullptr) {
      pos_ += length + 1;
      return true;
    }
    pos_ = size_;
  }
}

bool LineReader::Refill() {
  if (!fd_.Valid()) {  // a text in memory is delivered whole from the start
    state_ = State::End;
    return false;
  }
  ssize_t n = 0;
  do {
    n = ::read(fd_.Get(), buffer_.data(), buffer_.size());
  } while (n < 0 && errno == EINTR);
  size_ = n > 0 ? static_cast<std::size_t>(n) : 0;
  pos_ = 0;
  if (size_ > 0) return true;
  state_ = n < 0 ? State::ReadError : State::End;
  if (n < 0) error_ = errno;
  return false;
}

std::string LineReader::Problem() const {
  if (special_) return "not a regular file";
  if (error_ != 0) return std::strerror(error_);
  if (state_ == State::TooLong)
    return "line " + std::to_string(lineNumber_) + " is longer than " + std::to_string(kMaxLineBytes) + " bytes";
  return {};
}
