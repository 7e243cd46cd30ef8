#pragma once
// The kernels written for 64-bit ARM processors, whose Advanced SIMD (NEON)
// every one of them has (png/kernels.h lists them).
#include <cstddef>
#include <cstdint>

namespace zorv::png::arm {

// unfilter_neon.cpp: 3- and 4-byte pixels.
template <std::size_t Bpp>
void UnfilterSubNeon(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                     std::size_t bytesPerPixel);
template <std::size_t Bpp>
void UnfilterAverageNeon(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                         std::size_t bytesPerPixel);
template <std::size_t Bpp>
void UnfilterPaethNeon(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                       std::size_t bytesPerPixel);

// pixels_neon.cpp
void SwapRgbNeon(std::uint8_t* row, std::size_t n);
void RgbToColoursNeon(const std::uint8_t* rgb, std::size_t width, std::uint32_t* out);

}  // namespace zorv::png::arm
