#include "png/deinterlace.h"

#include <algorithm>
#include <cstring>

#include "platform/run_time_error.h"
#include "png/unfilter.h"

namespace zorv::png {
namespace {

struct PassGeometry {
  std::int64_t firstRow;
  std::int64_t rowStep;
  std::int64_t firstColumn;
  std::int64_t columnStep;
};

constexpr std::array<PassGeometry, 7> kPasses = {{
    {0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4}, {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1},
}};

[[noreturn]] void DataEndsEarly() { throw RunTimeError(ErrorCode::SubscriptOutOfRange, "interlaced data ends early"); }

// Copies `length` bytes into the output, failing rather than writing past it.
void CopyInto(ByteBuffer& output, std::int64_t at, const std::uint8_t* from, std::int64_t length) {
  if (length <= 0) return;
  if (at < 0 || at + length > static_cast<std::int64_t>(output.size())) DataEndsEarly();
  std::memcpy(output.data() + at, from, static_cast<std::size_t>(length));
}

}  // namespace

std::int64_t PassLineLength(std::int64_t width, std::int64_t bitsPerPixel, std::string_view passColumns) {
  const std::int64_t remainder = width % 8;
  const std::int64_t fullBlocks = (width - remainder) / 8;
  const auto columnsPerBlock = static_cast<std::int64_t>(passColumns.size());
  // The pass's columns that the last, partial block still has.
  std::int64_t partial = 0;
  while (partial < columnsPerBlock && passColumns[static_cast<std::size_t>(partial)] - '0' <= remainder) ++partial;
  if (bitsPerPixel >= 8) return bitsPerPixel / 8 * partial + bitsPerPixel * fullBlocks * columnsPerBlock / 8;
  const std::int64_t bits = bitsPerPixel * (fullBlocks * columnsPerBlock + partial);
  return (bits + 7) / 8;
}

std::int64_t PassLineCount(int pass, std::int64_t height) {
  const PassGeometry& geometry = kPasses[static_cast<std::size_t>(pass - 1)];
  if (height <= geometry.firstRow) return 0;
  return (height - geometry.firstRow + geometry.rowStep - 1) / geometry.rowStep;
}

std::array<std::uint8_t, 8> SplitByte1(std::uint8_t byte) {
  std::array<std::uint8_t, 8> samples{};
  for (int i = 0; i < 8; ++i) samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((byte >> (7 - i)) & 1);
  return samples;
}

std::array<std::uint8_t, 4> SplitByte2(std::uint8_t byte) {
  std::array<std::uint8_t, 4> samples{};
  for (int i = 0; i < 4; ++i) samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((byte >> (6 - 2 * i)) & 3);
  return samples;
}

std::array<std::uint8_t, 2> SplitByte4(std::uint8_t byte) {
  return {static_cast<std::uint8_t>(byte >> 4), static_cast<std::uint8_t>(byte & 15)};
}

// ExpandSamples into a buffer that is reused from line to line.
void ExpandSamplesInto(std::span<const std::uint8_t> line, std::int64_t bitsPerSample, std::int64_t count,
                       ByteBuffer& samples) {
  samples.assign(static_cast<std::size_t>(std::max<std::int64_t>(count, 0)), 0);
  std::size_t at = 0;
  const auto append = [&](const auto& split) {
    const std::size_t take = std::min(split.size(), samples.size() - at);
    std::copy_n(split.begin(), take, samples.begin() + static_cast<std::ptrdiff_t>(at));
    at += take;
  };
  for (std::size_t i = 0; i < line.size() && at < samples.size(); ++i) {
    switch (bitsPerSample) {
      case 1: append(SplitByte1(line[i])); break;
      case 2: append(SplitByte2(line[i])); break;
      case 4: append(SplitByte4(line[i])); break;
      default: return;  // other widths leave zeros
    }
  }
}

ByteBuffer ExpandSamples(std::span<const std::uint8_t> line, std::int64_t bitsPerSample,
                                        std::int64_t count) {
  ByteBuffer samples;
  ExpandSamplesInto(line, bitsPerSample, count, samples);
  return samples;
}

ByteBuffer Deinterlace(std::span<const std::uint8_t> data, const PixelFormat& format) {
  const std::int64_t width = format.width;
  const std::int64_t bitsPerPixel = BitsPerPixel(format);
  const std::int64_t pixelSize = bitsPerPixel >= 8 ? bitsPerPixel / 8 : 1;
  const auto bytesPerPixel = static_cast<std::size_t>(BytesPerPixel(format));
  ByteBuffer output(static_cast<std::size_t>(width * format.height * pixelSize), 0);

  std::int64_t read = 0;
  for (int pass = 1; pass <= 7; ++pass) {
    const std::string_view columns = kPassColumns[static_cast<std::size_t>(pass - 1)];
    const std::int64_t lineLength = PassLineLength(width, bitsPerPixel, columns);
    if (lineLength <= 0) continue;
    const PassGeometry& geometry = kPasses[static_cast<std::size_t>(pass - 1)];
    const std::int64_t pixelCount = bitsPerPixel < 8 ? PassLineLength(width, 8, columns) : 0;
    std::vector<std::uint8_t> previous(static_cast<std::size_t>(lineLength), 0);
    std::vector<std::uint8_t> line(static_cast<std::size_t>(lineLength));
    ByteBuffer samples;

    const std::int64_t lines = PassLineCount(pass, format.height);
    for (std::int64_t n = 0; n < lines; ++n) {
      if (read + lineLength + 1 > static_cast<std::int64_t>(data.size())) DataEndsEarly();
      const std::uint8_t filterType = data[static_cast<std::size_t>(read)];
      std::memcpy(line.data(), data.data() + read + 1, line.size());
      read += lineLength + 1;
      UnfilterRow(filterType, line, previous, bytesPerPixel);
      line.swap(previous);  // the unfiltered line is the next line's previous one

      std::span<const std::uint8_t> pixels = previous;
      if (bitsPerPixel < 8) {
        ExpandSamplesInto(previous, format.bitDepth, pixelCount, samples);
        pixels = samples;
      }
      const auto placed = static_cast<std::int64_t>(pixels.size());
      const std::int64_t row = geometry.firstRow + n * geometry.rowStep;
      const std::int64_t rowStart = row * width * pixelSize + geometry.firstColumn * pixelSize;
      if (pass == 7) {
        CopyInto(output, rowStart, pixels.data(), placed);
        continue;
      }
      for (std::int64_t source = 0, column = 0; source < placed; source += pixelSize, ++column) {
        CopyInto(output, rowStart + column * geometry.columnStep * pixelSize, pixels.data() + source,
                 std::min(pixelSize, placed - source));
      }
    }
  }
  return output;
}

void Unpack2Bit(std::int64_t width, std::int64_t height, ByteBuffer& buffer,
                std::int64_t storedLength) {
  const std::int64_t stride = RowStride(width, 8);
  const std::int64_t rowLength = storedLength - 1;
  if (width > 0 && height > 0 && (height - 1) * rowLength + (width - 1) / 4 >= static_cast<std::int64_t>(buffer.size())) {
    throw RunTimeError(ErrorCode::SubscriptOutOfRange);
  }
  ByteBuffer unpacked(static_cast<std::size_t>(std::max<std::int64_t>(height * stride, 0)), 0);
  for (std::int64_t y = 0; y < height; ++y) {
    const std::uint8_t* source = buffer.data() + y * rowLength;
    std::uint8_t* target = unpacked.data() + y * stride;
    for (std::int64_t x = 0; x < width; ++x) {
      target[x] = static_cast<std::uint8_t>((source[x / 4] >> (6 - 2 * (x % 4))) & 3);
    }
  }
  buffer = std::move(unpacked);
}

}  // namespace zorv::png
