#pragma once
// The decoder's working buffer: a byte vector whose growth leaves new bytes
// uninitialised. Every stage writes each byte it hands on, so zeroing a buffer
// of many megabytes before filling it would only cost time and memory traffic;
// bytes that must be zero are written as zero where the stage says so.
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "png/recycled_blocks.h"

namespace zorv::png {

template <typename T>
class DefaultInitAllocator : public std::allocator<T> {
 public:
  template <typename U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  using value_type = T;

  DefaultInitAllocator() = default;
  template <typename U>
  DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}

  // A picture-sized buffer comes from the recycled blocks (png/recycled_blocks.h).
  T* allocate(std::size_t n) {
    if (n >= recycled_blocks::kSmallestKeptBlock / sizeof(T)) {
      if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
      return static_cast<T*>(recycled_blocks::Take(n * sizeof(T)));
    }
    return std::allocator<T>::allocate(n);
  }
  void deallocate(T* p, std::size_t n) noexcept {
    if (n >= recycled_blocks::kSmallestKeptBlock / sizeof(T)) {
      recycled_blocks::Give(p);
    } else {
      std::allocator<T>::deallocate(p, n);
    }
  }

  // A value-initialised element (resize, the size constructor) is left as it is.
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};

using ByteBuffer = std::vector<std::uint8_t, DefaultInitAllocator<std::uint8_t>>;

}  // namespace zorv::png
