// A fixed-capacity FIFO of bytes: the receive queue of the buffered driver. The
// storage is allocated once, by the constructor. Not synchronised; its owner locks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class RingBuffer {
 public:
  // Allocates capacity bytes (at least 1); throws std::bad_alloc when memory is short.
  explicit RingBuffer(std::size_t capacity);

  std::size_t Capacity() const { return capacity_; }
  // Bytes stored.
  std::size_t Size() const { return size_; }
  // Bytes that still fit.
  std::size_t Free() const { return capacity_ - size_; }

  // Appends as many bytes of the front of bytes as fit; returns that count.
  std::size_t Push(std::span<const std::uint8_t> bytes);
  // Moves the oldest min(into.size(), Size()) bytes into into; returns that count.
  std::size_t Pop(std::span<std::uint8_t> into);
  // Discards every stored byte.
  void Clear();

 private:
  std::unique_ptr<std::uint8_t[]> storage_;
  std::size_t capacity_;
  std::size_t head_ = 0;  // index of the oldest byte
  std::size_t size_ = 0;
};
