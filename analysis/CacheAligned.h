// Vectors whose storage starts on a cache line, so the kernels' vector loads and
// stores never straddle two lines (worth about a quarter of the transform's time).
#pragma once

#include <cstddef>
#include <new>
#include <vector>

template <typename T>
struct CacheAlignedAllocator {
  using value_type = T;
  static constexpr std::align_val_t kAlignment{64};

  CacheAlignedAllocator() = default;
  template <typename U>
  explicit CacheAlignedAllocator(const CacheAlignedAllocator<U>&) {}

  T* allocate(std::size_t count) { return static_cast<T*>(::operator new(count * sizeof(T), kAlignment)); }
  void deallocate(T* p, std::size_t) { ::operator delete(p, kAlignment); }

  friend bool operator==(const CacheAlignedAllocator&, const CacheAlignedAllocator&) { return true; }
};

template <typename T>
using CacheAlignedVector = std::vector<T, CacheAlignedAllocator<T>>;
