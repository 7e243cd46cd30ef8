#pragma once
// Blending transparent and semi-transparent pixels onto what lies behind the
// image, giving opaque 24-bit rows.
#include <cstdint>
#include <span>
#include <vector>

#include "platform/colour.h"
#include "png/byte_buffer.h"
#include "platform/picture_object.h"
#include "platform/screen_metrics.h"

namespace zorv::png {

// Paints a buffer taken as rows of `stride` bytes with a colour: a grey fills
// every byte, padding included; any other colour fills only the pixels.
void FillColour(std::span<std::uint8_t> buffer, Colour colour, std::int64_t stride);

struct Backdrop {
  PictureObject* picture = nullptr;  // the background picture, or none
  Colour colour = 0;                 // behind the image when there is no picture
  std::int32_t x = 0;                // where the image lies on the picture, in pixels
  std::int32_t y = 0;
  ScreenMetrics screen;
};

// BGRA rows of width x height pixels, bottom row first, become BGR rows padded
// to 4 bytes in the same order. Each pixel is (C x A + (255 - A) x K + 255) / 256
// of its colour C and the background K. A background picture is first narrowed
// to the image plus 100 twips where it is wider, then the width x height pixels
// at (x, y) of it are taken. Pixels missing from the buffer stay zero.
void CompositeOnBackground(const Backdrop& backdrop, ByteBuffer& buffer, std::int64_t width,
                           std::int64_t height);

}  // namespace zorv::png
