#pragma once
// The four filters undone a byte at a time over bytes [from, n) of a row, with
// the distance `d` to the left neighbour known only at run time: the reference
// the kernels are held to, and what finishes the bytes a kernel's whole steps
// leave. Same contract as the kernels (png/kernels.h).
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace zorv::png::bytes {

inline void Sub(const std::uint8_t* in, std::uint8_t* out, std::size_t from, std::size_t n, std::size_t d) {
  for (std::size_t x = from; x < n; ++x) out[x] = static_cast<std::uint8_t>(in[x] + (x >= d ? out[x - d] : 0));
}

inline void Up(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t from,
               std::size_t n) {
  for (std::size_t x = from; x < n; ++x) out[x] = static_cast<std::uint8_t>(in[x] + previous[x]);
}

inline void Average(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t from,
                    std::size_t n, std::size_t d) {
  for (std::size_t x = from; x < n; ++x) {
    const unsigned left = x >= d ? out[x - d] : 0;
    out[x] = static_cast<std::uint8_t>(in[x] + ((left + previous[x]) >> 1));
  }
}

// The neighbour (left a, above b, upper left c) closest to a + b - c; ties go
// to a, then b. Without a left neighbour a and c are zero, which predicts b.
inline void Paeth(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t from,
                  std::size_t n, std::size_t d) {
  for (std::size_t x = from; x < n; ++x) {
    const int a = x >= d ? out[x - d] : 0;
    const int b = previous[x];
    const int c = x >= d ? previous[x - d] : 0;
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    const int predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    out[x] = static_cast<std::uint8_t>(in[x] + predicted);
  }
}

}  // namespace zorv::png::bytes
