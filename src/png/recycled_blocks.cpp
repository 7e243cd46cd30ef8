#include "png/recycled_blocks.h"

#include "platform/huge_pages.h"

#include <array>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define ZORV_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define ZORV_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define ZORV_POISON(p, n) ((void)(p), (void)(n))
#define ZORV_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace zorv::png::recycled_blocks {
namespace {

// Each block starts with its capacity; what the caller gets follows it, aligned
// as operator new aligns.
constexpr std::size_t kHeader = __STDCPP_DEFAULT_NEW_ALIGNMENT__;

struct Kept {
  std::byte* start = nullptr;  // the block's header
  std::size_t capacity = 0;    // bytes after the header
};

class Keeper {
 public:
  // The smallest kept block that holds `bytes`; when none does, every kept
  // block is smaller than the request and all are let go.
  Kept TakeFitting(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    Kept* best = nullptr;
    for (Kept& kept : slots_) {
      if (kept.start && kept.capacity >= bytes && (!best || kept.capacity < best->capacity)) best = &kept;
    }
    if (best) return std::exchange(*best, Kept{});
    for (Kept& kept : slots_) Release(kept);
    return Kept{};
  }

  // Keeps the block in a free slot or in place of a smaller one; what is not kept is freed.
  void Keep(Kept block) {
    std::lock_guard lock(mutex_);
    Kept* smallest = &slots_[0];
    for (Kept& kept : slots_) {
      if (kept.capacity < smallest->capacity) smallest = &kept;
    }
    if (smallest->capacity > block.capacity) {
      Release(block);
      return;
    }
    Release(*smallest);
    ZORV_POISON(block.start + kHeader, block.capacity);
    *smallest = block;
  }

  std::size_t Bytes() {
    std::lock_guard lock(mutex_);
    std::size_t total = 0;
    for (const Kept& kept : slots_) total += kept.capacity;
    return total;
  }

 private:
  static void Release(Kept& kept) {
    if (!kept.start) return;
    ZORV_UNPOISON(kept.start + kHeader, kept.capacity);
    ::operator delete(kept.start);
    kept = Kept{};
  }

  std::mutex mutex_;
  std::array<Kept, 2> slots_{};
};

// Never destroyed: a buffer may be freed by another object's destructor at exit.
Keeper& TheKeeper() {
  static Keeper* const keeper = new Keeper;
  return *keeper;
}

}  // namespace

void* Take(std::size_t bytes) {
  Kept block = TheKeeper().TakeFitting(bytes);
  if (!block.start) {
    if (bytes > SIZE_MAX - kHeader) throw std::bad_alloc();
    block.start = static_cast<std::byte*>(::operator new(kHeader + bytes));
    block.capacity = bytes;
    std::memcpy(block.start, &bytes, sizeof bytes);
    AskForHugePages(block.start + kHeader, bytes);
    return block.start + kHeader;
  }
  // The part beyond the request stays poisoned: a write past the buffer is still caught.
  ZORV_UNPOISON(block.start + kHeader, bytes);
  return block.start + kHeader;
}

void Give(void* memory) noexcept {
  auto* start = static_cast<std::byte*>(memory) - kHeader;
  Kept block{start, 0};
  std::memcpy(&block.capacity, start, sizeof block.capacity);
  if (block.capacity > kLargestKeptBlock) {
    ::operator delete(start);
    return;
  }
  TheKeeper().Keep(block);
}

std::size_t KeptBytes() noexcept { return TheKeeper().Bytes(); }

}  // namespace zorv::png::recycled_blocks
