#pragma once
// Scanline filtering on the writing side: each row is stored behind a filter-type
// byte as the difference from its neighbours that compresses best.
#include <cstdint>
#include <span>
#include <vector>

namespace zorv::png {

enum class PngFilterChoice {
  None,      // every row with filter 0: best for palette images and samples below 8 bits
  Adaptive,  // per row, the filter whose output has the smallest sum of absolute values
};

// Appends `rowCount` rows of `rowBytes` bytes from `rows`, each behind its filter
// byte. `bytesPerPixel` is the distance Sub, Average and Paeth look back
// (1 for images of fewer than 8 bits per pixel).
void AppendFilteredRows(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> rows, std::size_t rowBytes,
                        std::size_t rowCount, std::size_t bytesPerPixel, PngFilterChoice choice);

}  // namespace zorv::png
