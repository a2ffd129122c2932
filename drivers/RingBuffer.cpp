#include "drivers/RingBuffer.h"

#include <algorithm>
#include <cstring>

RingBuffer::RingBuffer(std::size_t capacity)
    : storage_(std::make_unique_for_overwrite<std::uint8_t[]>(std::max<std::size_t>(capacity, 1))),
      capacity_(std::max<std::size_t>(capacity, 1)) {}

std::size_t RingBuffer::Push(std::span<const std::uint8_t> bytes) {
  const std::size_t count = std::min(bytes.size(), Free());
  if (count == 0) return 0;
  const std::size_t tail = (head_ + size_) % capacity_;
  const std::size_t first = std::min(count, capacity_ - tail);
  std::memcpy(storage_.get() + tail, bytes.data(), first);
  std::memcpy(storage_.get(), bytes.data() + first, count - first);
  size_ += count;
  return count;
}

std::size_t RingBuffer::Pop(std::span<std::uint8_t> into) {
  const std::size_t count = std::min(into.size(), size_);
  if (count == 0) return 0;
  const std::size_t first = std::min(count, capacity_ - head_);
  std::memcpy(into.data(), storage_.get() + head_, first);
  std::memcpy(into.data() + first, storage_.get(), count - first);
  head_ = (head_ + count) % capacity_;
  size_ -= count;
  return count;
}

void RingBuffer::Clear() {
  head_ = 0;
  size_ = 0;
}
