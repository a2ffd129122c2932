#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "drivers/RingBuffer.h"

namespace {

std::vector<std::uint8_t> Sequence(std::uint8_t first, std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

std::vector<std::uint8_t> PopAll(RingBuffer& ring, std::size_t n) {
  std::vector<std::uint8_t> bytes(n);
  bytes.resize(ring.Pop(bytes));
  return bytes;
}

TEST(RingBufferTest, KeepsOrderWhileWrappingAroundManyTimes) {
  RingBuffer ring(10);
  std::uint8_t next = 0;
  std::uint8_t expected = 0;
  // Pushes of 7 and pops of 7 move the head across the end of the storage again and again.
  for (int round = 0; round < 20; ++round) {
    ASSERT_EQ(ring.Push(Sequence(next, 7)), 7u);
    next = static_cast<std::uint8_t>(next + 7);
    ASSERT_EQ(PopAll(ring, 7), Sequence(expected, 7)) << round;
    expected = static_cast<std::uint8_t>(expected + 7);
  }
  EXPECT_EQ(ring.Size(), 0u);
}

TEST(RingBufferTest, TakesOnlyWhatFitsWhenFull) {
  RingBuffer ring(8);
  EXPECT_EQ(ring.Push(Sequence(0, 5)), 5u);
  EXPECT_EQ(ring.Push(Sequence(5, 5)), 3u) << "only the free space is filled";
  EXPECT_EQ(ring.Free(), 0u);
  EXPECT_EQ(ring.Push(Sequence(9, 1)), 0u);
  EXPECT_EQ(PopAll(ring, 20), Sequence(0, 8));
}

TEST(RingBufferTest, PopOfMoreThanStoredAndClear) {
  RingBuffer ring(4);
  EXPECT_EQ(PopAll(ring, 3), std::vector<std::uint8_t>{}) << "empty ring";
  ring.Push(Sequence(1, 3));
  EXPECT_EQ(PopAll(ring, 2), Sequence(1, 2));
  ring.Push(Sequence(4, 3));  // wraps
  ring.Clear();
  EXPECT_EQ(ring.Size(), 0u);
  EXPECT_EQ(ring.Free(), 4u);
  ring.Push(Sequence(9, 4));
  EXPECT_EQ(PopAll(ring, 4), Sequence(9, 4)) << "a cleared ring is whole again";
}

}  // namespace
