#pragma once
// Reads a PNG file with libpng, the reference our encoder is checked against,
// giving back what the file holds in the form PngImage describes it.
#include <span>
#include <string>

#include "png/png_writer.h"

namespace zorv::testing {

// False, with libpng's message in `error`, when libpng refuses the file (a bad
// CRC or Adler-32 among other things).
bool ReadWithLibpng(std::span<const std::uint8_t> file, png::PngImage& image, std::string& error);

}  // namespace zorv::testing
