#include "files/LineReader.h"

#include <cstring>

namespace {
// Bytes read from the file in one go.
constexpr std::size_t kChunkBytes = 64 * 1024;
}  // namespace

LineReader::LineReader(const std::filesystem::path& fileName) : buffer_(kChunkBytes) {
  stream_.open(fileName, std::ios::binary);
  isOpen_ = stream_.is_open();
  if (!isOpen_) state_ = State::ReadError;
}

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
  stream_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  size_ = static_cast<std::size_t>(stream_.gcount());
  pos_ = 0;
  if (size_ > 0) return true;
  state_ = stream_.bad() ? State::ReadError : State::End;
  return false;
}
