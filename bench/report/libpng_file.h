#pragma once
// PNG input files for the benchmark, written by libpng so that what is timed
// reads files made by a reference encoder.
#include <cstdint>
#include <filesystem>
#include <vector>

namespace zorv::bench {

struct PngFileImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int colourType = 2;  // PNG's colour type: 2 RGB, 6 RGBA
  int bitDepth = 8;    // 8 or 16 (samples high byte first)
  bool interlaced = false;
  std::vector<std::uint8_t> samples;  // rows packed as PNG stores them, top row first
};

// Writes the image with libpng's default compression; throws std::runtime_error
// when libpng refuses it or the file cannot be written.
void WritePngFile(const std::filesystem::path& file, const PngFileImage& image);

}  // namespace zorv::bench
