#pragma once
// Benchmark inputs: large PNG-like image data, built from the test pictures by
// unfiltering their rows, tiling them to a bigger picture, filtering the rows
// again as an encoder would and compressing them with zlib.
#include <cstdint>
#include <string>
#include <vector>

#include "support/generated_pictures.h"

namespace zorv::bench {

using Bytes = std::vector<std::uint8_t>;

// The IDAT data of a PNG file (its zlib stream).
Bytes ReadIdatStream(const std::string& pngFile);
// An 8-bit grey, RGB, grey+alpha or RGBA PNG file without interlacing, decoded.
Picture ReadPicture(const std::string& pngFile);
// `tiles` put side by side and below each other until the picture is at least width x height.
Picture Tile(const std::vector<Picture>& tiles, int width, int height);
// Each row filtered with the filter whose bytes have the smallest sum of magnitudes.
Bytes FilterRows(const Picture& picture);

Bytes ZlibCompress(const Bytes& data, int level, int strategy);
Bytes ZlibInflate(const Bytes& zlibStream, std::size_t size);
Bytes GenerateText(std::size_t size);

}  // namespace zorv::bench
