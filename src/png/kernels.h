#pragma once
// The stages of the decoder that have processor-specific kernels, and the one
// table each stage picks its kernel from. Every stage has a plain kernel, the
// one that runs anywhere; each processor's kernels live in its own folder
// (x86/, arm/) and are listed in kernels.cpp, best first. A kernel is chosen
// once per process, from the enabled processor features, never per row.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "png/inflate/inflate_run.h"
#include "png/processor.h"

namespace zorv::png {

// Rebuilds the `n` bytes of one row: the stored bytes at `in`, the rebuilt row
// at `out`, which is `in` itself or lies before it (each byte is read before
// anything is written over it), the rebuilt row above at `previous`; pixels of
// `bytesPerPixel` bytes (the distance to the left neighbour).
using UnfilterKernel = void (*)(const std::uint8_t* in, std::uint8_t* out, const std::uint8_t* previous,
                                std::size_t n, std::size_t bytesPerPixel);
// Swaps the first and third byte of each whole 3-byte group of `n` bytes.
using SwapRgbKernel = void (*)(std::uint8_t* row, std::size_t n);
// A row of `width` 8-bit RGB pixels as device colours (0x00RRGGBB).
using RgbToColoursKernel = void (*)(const std::uint8_t* rgb, std::size_t width, std::uint32_t* out);
// A row of `width` 8-bit RGBA pixels blended onto device colours, as device colours.
using BlendToColoursKernel = void (*)(const std::uint8_t* rgba, const std::uint32_t* background, std::size_t width,
                                      std::uint32_t* out);
// A row of `width` BGRA pixels blended onto BGR background pixels, as BGR
// pixels; `out` may be `bgra` itself, as it never runs ahead of what is still to be read.
using BlendBgraKernel = void (*)(const std::uint8_t* bgra, const std::uint8_t* background, std::uint8_t* out,
                                 std::size_t width);
// PairLiteralsKernel (png/inflate/huffman_decode_table.h) pairs the literals of a root table.
// The inflater's fast loop, by the literal/length table of the block: with
// single or paired literals, with or without whole matches; for streams with
// the long form of length 258 (any table without whole matches); and without
// a branch between literal and match, for blocks where that pays (any table
// without whole matches, for streams without the long form).
struct FastLoopKernel {
  InflateRun::FastLoop singleLiterals;
  InflateRun::FastLoop pairedLiterals;
  InflateRun::FastLoop wholeMatchesSingleLiterals;
  InflateRun::FastLoop wholeMatchesPairedLiterals;
  InflateRun::FastLoop largeLength;
  InflateRun::FastLoop branchFreeSingleLiterals;
  InflateRun::FastLoop branchFreePairedLiterals;
};

template <typename Kernel>
struct KernelChoice {
  const char* name;  // what it is written for: "plain", "sse4.1", ...
  ProcessorFeatures needs;
  Kernel kernel;
};

// An unfilter kernel for one filter type and one distance; 0 stands for any.
struct UnfilterChoice {
  std::uint8_t filter;
  std::size_t bytesPerPixel;
  KernelChoice<UnfilterKernel> choice;
};

// Every kernel of every stage, best first; each stage ends with its plain one.
std::span<const UnfilterChoice> UnfilterChoices();
std::span<const KernelChoice<SwapRgbKernel>> SwapRgbChoices();
std::span<const KernelChoice<RgbToColoursKernel>> RgbToColoursChoices();
std::span<const KernelChoice<BlendToColoursKernel>> BlendToColoursChoices();
std::span<const KernelChoice<BlendBgraKernel>> BlendBgraChoices();
std::span<const KernelChoice<PairLiteralsKernel>> PairLiteralsChoices();
std::span<const KernelChoice<FastLoopKernel>> FastLoopChoices();

// The unfilter kernels of one distance, by filter type (None to Paeth).
using UnfilterKernels = std::array<UnfilterKernel, 5>;

// The kernels of the enabled features, chosen on first use.
struct ChosenKernels {
  std::array<UnfilterKernels, 9> unfilterByDistance;  // 1 to 8 bytes; [0] for any other distance
  SwapRgbKernel swapRgb;
  RgbToColoursKernel rgbToColours;
  BlendToColoursKernel blendToColours;
  BlendBgraKernel blendBgra;
  PairLiteralsKernel pairLiterals;
  FastLoopKernel fastLoop;

  const UnfilterKernels& Unfilter(std::size_t bytesPerPixel) const {
    return unfilterByDistance[bytesPerPixel < unfilterByDistance.size() ? bytesPerPixel : 0];
  }
};
const ChosenKernels& Kernels();

// The best of `choices` that `features` allow (the plain one at worst).
template <typename Kernel>
const KernelChoice<Kernel>& Choose(std::span<const KernelChoice<Kernel>> choices, ProcessorFeatures features) {
  for (const KernelChoice<Kernel>& choice : choices) {
    if (HasAll(features, choice.needs)) return choice;
  }
  return choices.back();
}

}  // namespace zorv::png
