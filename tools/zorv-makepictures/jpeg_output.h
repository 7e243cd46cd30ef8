#pragma once
// JPEG files through Qt's image writer; JPEG has no alpha, so the canvas is
// flattened onto black first.
#include <cstdint>
#include <vector>

#include "canvas.h"

namespace zorv::pictures {

// Error 75 when Qt has no JPEG writer.
std::vector<std::uint8_t> EncodeJpeg(const Canvas& canvas, int quality);

}  // namespace zorv::pictures
