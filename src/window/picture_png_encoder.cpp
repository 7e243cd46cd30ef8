#include "window/picture_png_encoder.h"

#include <libdeflate.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "platform/run_time_error.h"
#include "png/png_format.h"

namespace zorv {
namespace {

using png::kFilterNone;
using png::kFilterUp;

// Of libdeflate's levels 1, 2 and 6, each with filter None or Up, the fastest:
// level 2 on a game screen's Up-filtered indices, which are mostly zeros (level
// 1 stalls on its hash table there), level 1 on photographs, where level 2 takes
// twice as long.
constexpr int kPaletteLevel = 2;
constexpr int kRgbLevel = 1;
// Image data goes out in IDAT chunks of at most this many bytes (PNG allows 2^31 - 1).
constexpr std::size_t kIdatChunkBytes = std::size_t{1} << 30;

// A buffer that is written in full before it is read: not zeroed first.
struct Bytes {
  std::unique_ptr<std::uint8_t[]> data;
  std::size_t size = 0;
};

Bytes NewBytes(std::size_t size) { return {std::make_unique_for_overwrite<std::uint8_t[]>(size), size}; }

// The stored rows (a filter byte, then the samples) and the palette when there is one.
struct StoredRows {
  Bytes rows;
  std::size_t rowBytes = 0;  // with the filter byte
  std::vector<std::uint8_t> palette;  // red, green, blue per entry; empty for RGB
};

// Palette indices for a picture of at most 256 colours, found through a small
// open-addressed table; runs of one colour cost one comparison a pixel.
std::optional<StoredRows> PaletteRows(const Image& picture) {
  constexpr std::size_t kSlots = 1024;  // a power of two, well above 256
  std::array<std::uint32_t, kSlots> colours{};
  std::array<std::int16_t, kSlots> indices;
  indices.fill(-1);
  const auto width = static_cast<std::size_t>(picture.width);
  StoredRows stored{NewBytes((width + 1) * static_cast<std::size_t>(picture.height)), width + 1, {}};
  std::uint8_t* out = stored.rows.data.get();
  std::uint32_t last = ~picture.pixels[0];  // differs from the first pixel
  std::uint8_t lastIndex = 0;
  for (std::size_t y = 0; y < static_cast<std::size_t>(picture.height); ++y) {
    *out++ = kFilterNone;
    for (const std::uint32_t colour : std::span(picture.pixels).subspan(y * width, width)) {
      if (colour != last) {
        std::size_t slot = (colour * 0x9E3779B1u) >> 22;
        while (indices[slot] >= 0 && colours[slot] != colour) slot = (slot + 1) % kSlots;
        if (indices[slot] < 0) {
          if (stored.palette.size() == 256 * 3) return std::nullopt;
          colours[slot] = colour;
          indices[slot] = static_cast<std::int16_t>(stored.palette.size() / 3);
          stored.palette.insert(stored.palette.end(), {static_cast<std::uint8_t>(colour >> 16),
                                                       static_cast<std::uint8_t>(colour >> 8),
                                                       static_cast<std::uint8_t>(colour)});
        }
        last = colour;
        lastIndex = static_cast<std::uint8_t>(indices[slot]);
      }
      *out++ = lastIndex;
    }
  }
  return stored;
}

StoredRows RgbRows(const Image& picture) {
  const auto width = static_cast<std::size_t>(picture.width);
  StoredRows stored{NewBytes((width * 3 + 1) * static_cast<std::size_t>(picture.height)), width * 3 + 1, {}};
  std::uint8_t* out = stored.rows.data.get();
  for (std::size_t y = 0; y < static_cast<std::size_t>(picture.height); ++y) {
    *out++ = kFilterNone;
    for (const std::uint32_t colour : std::span(picture.pixels).subspan(y * width, width)) {
      *out++ = static_cast<std::uint8_t>(colour >> 16);
      *out++ = static_cast<std::uint8_t>(colour >> 8);
      *out++ = static_cast<std::uint8_t>(colour);
    }
  }
  return stored;
}

// Up stores each byte less the one above it, which turns the repeated rows of a
// scaled-up game screen into zeros. Bottom row first, so that the row above is
// still unfiltered; eight bytes at a time, each byte subtracted on its own.
void FilterUp(StoredRows& stored) {
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  const std::size_t samples = stored.rowBytes - 1;
  for (std::size_t y = stored.rows.size / stored.rowBytes; y-- > 1;) {
    std::uint8_t* row = stored.rows.data.get() + y * stored.rowBytes;
    const std::uint8_t* above = row - stored.rowBytes + 1;
    row[0] = kFilterUp;
    std::size_t i = 0;
    for (; i + 8 <= samples; i += 8) {
      std::uint64_t a, b;
      std::memcpy(&a, row + 1 + i, 8);
      std::memcpy(&b, above + i, 8);
      const std::uint64_t difference = ((a | kHigh) - (b & ~kHigh)) ^ ((a ^ ~b) & kHigh);
      std::memcpy(row + 1 + i, &difference, 8);
    }
    for (; i < samples; ++i) row[1 + i] = static_cast<std::uint8_t>(row[1 + i] - above[i]);
  }
}

struct CompressorDeleter {
  void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

Bytes ZlibStream(const Bytes& data, int level) {
  const std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(libdeflate_alloc_compressor(level));
  if (!compressor) throw RunTimeError(ErrorCode::OutOfMemory);
  Bytes stream = NewBytes(libdeflate_zlib_compress_bound(compressor.get(), data.size));
  stream.size = libdeflate_zlib_compress(compressor.get(), data.data.get(), data.size, stream.data.get(), stream.size);
  return stream;
}

void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.insert(out.end(), {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                         static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
}

void AppendChunk(std::vector<std::uint8_t>& file, std::string_view type, std::span<const std::uint8_t> data) {
  AppendBigEndian32(file, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeStart = file.size();
  file.insert(file.end(), type.begin(), type.end());
  file.insert(file.end(), data.begin(), data.end());
  // The CRC covers the type and the data, not the length.
  AppendBigEndian32(file, libdeflate_crc32(0, file.data() + typeStart, file.size() - typeStart));
}

}  // namespace

std::vector<std::uint8_t> EncodePicturePng(const Image& picture) {
  if (picture.Empty() || picture.pixels.size() != static_cast<std::size_t>(picture.width) *
                                                   static_cast<std::size_t>(picture.height))
    throw RunTimeError(ErrorCode::InvalidPicture);
  std::optional<StoredRows> stored = PaletteRows(picture);
  if (!stored) stored = RgbRows(picture);
  FilterUp(*stored);
  const bool isPalette = !stored->palette.empty();
  const Bytes stream = ZlibStream(stored->rows, isPalette ? kPaletteLevel : kRgbLevel);

  std::vector<std::uint8_t> header;
  AppendBigEndian32(header, static_cast<std::uint32_t>(picture.width));
  AppendBigEndian32(header, static_cast<std::uint32_t>(picture.height));
  const std::uint8_t colourType = isPalette ? png::kPalette : png::kRgb;
  header.insert(header.end(), {8, colourType, 0, 0, 0});  // 8 bits, deflate, adaptive filters, not interlaced

  std::vector<std::uint8_t> file(png::kPngSignature.begin(), png::kPngSignature.end());
  file.reserve(stream.size + stored->palette.size() + 128);
  AppendChunk(file, "IHDR", header);
  if (isPalette) AppendChunk(file, "PLTE", stored->palette);
  const std::span<const std::uint8_t> data(stream.data.get(), stream.size);
  for (std::size_t offset = 0; offset < data.size(); offset += kIdatChunkBytes)
    AppendChunk(file, "IDAT", data.subspan(offset, std::min(kIdatChunkBytes, data.size() - offset)));
  AppendChunk(file, "IEND", {});
  return file;
}

}  // namespace zorv
