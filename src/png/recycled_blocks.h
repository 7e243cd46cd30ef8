#pragma once
// Large working buffers (a picture's inflated rows, its unfiltered copy) are
// handed back here when freed and given to the next buffer that fits, rather
// than returned to the system. A block freshly mapped by the system costs a
// page fault for each page it is first written to; a decoder that takes one
// picture after another would pay that for every picture, and the allocator's
// own thresholds only sometimes spare it.
//
// At most two blocks are kept (the inflater's input and output, each the size
// of a picture's data), neither over kLargestKeptBlock. A request larger than
// every kept block frees them first, so keeping never raises the most memory
// a run of decodes needs.
#include <cstddef>

namespace zorv::png::recycled_blocks {

// Blocks this size and up go through the keeper; the allocator's heap keeps
// smaller ones well enough.
inline constexpr std::size_t kSmallestKeptBlock = std::size_t{256} << 10;
inline constexpr std::size_t kLargestKeptBlock = std::size_t{64} << 20;

// A block of at least `bytes` (kSmallestKeptBlock or more), aligned for any
// value; throws std::bad_alloc as operator new does.
void* Take(std::size_t bytes);
// Gives back a block from Take.
void Give(void* block) noexcept;

// Bytes held in kept blocks now.
std::size_t KeptBytes() noexcept;

}  // namespace zorv::png::recycled_blocks
