#pragma once
// The kernels written for x86-64 processors (png/kernels.h lists them). Each
// carries, here as where it is defined, the instruction sets it is compiled
// for: only these functions use them, never code they share with the rest.
#include <cstddef>
#include <cstdint>

#include "png/inflate/inflate_run.h"

namespace zorv::png::x86 {

// unfilter_sse2.cpp, unfilter_sse41.cpp: 3- and 4-byte pixels (SSE2 is every x86-64 processor's).
template <std::size_t Bpp>
void UnfilterSubSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                     std::size_t bytesPerPixel);
template <std::size_t Bpp>
void UnfilterAverageSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                         std::size_t bytesPerPixel);
template <std::size_t Bpp>
void UnfilterPaethSse2(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous, std::size_t n,
                       std::size_t bytesPerPixel);
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] void UnfilterSubSse41(const std::uint8_t* in, std::uint8_t* out,
                                                const std::uint8_t* previous, std::size_t n,
                                                std::size_t bytesPerPixel);
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] void UnfilterAverageSse41(const std::uint8_t* in, std::uint8_t* out,
                                                    const std::uint8_t* previous, std::size_t n,
                                                    std::size_t bytesPerPixel);
template <std::size_t Bpp>
[[gnu::target("sse4.1")]] void UnfilterPaethSse41(const std::uint8_t* in, std::uint8_t* out,
                                                  const std::uint8_t* previous, std::size_t n,
                                                  std::size_t bytesPerPixel);

// pixels_ssse3.cpp
[[gnu::target("ssse3")]] void SwapRgbSsse3(std::uint8_t* row, std::size_t n);
[[gnu::target("ssse3")]] void RgbToColoursSsse3(const std::uint8_t* rgb, std::size_t width, std::uint32_t* out);
[[gnu::target("ssse3")]] void BlendToColoursSsse3(const std::uint8_t* rgba, const std::uint32_t* background,
                                                  std::size_t width, std::uint32_t* out);
[[gnu::target("ssse3")]] void BlendBgraSsse3(const std::uint8_t* bgra, const std::uint8_t* background,
                                             std::uint8_t* out, std::size_t width);

// composite_avx2.cpp
[[gnu::target("avx2")]] void BlendToColoursAvx2(const std::uint8_t* rgba, const std::uint32_t* background,
                                                std::size_t width, std::uint32_t* out);

// pair_literals_avx2.cpp
[[gnu::target("avx2")]] void PairLiteralsAvx2(std::uint32_t* entries, unsigned rootBits, unsigned shortest);

// inflate_fast_loop_bmi2.cpp
template <bool kLargeLength, bool kWholeMatches, bool kPairedLiterals>
[[gnu::target("bmi2,avx2")]] InflateRun::FastEnd FastLoopBmi2(InflateRun& run,
                                                             const HuffmanDecodeTable& literalLength,
                                                             const HuffmanDecodeTable& distance);
template <bool kPairedLiterals>
[[gnu::target("bmi2,avx2")]] InflateRun::FastEnd BranchFreeLoopBmi2(InflateRun& run,
                                                                   const HuffmanDecodeTable& literalLength,
                                                                   const HuffmanDecodeTable& distance);

}  // namespace zorv::png::x86
