// Every kernel choice of the decoder, in one place: each table lists a stage's
// kernels best first and ends with its plain one. Adding a kernel is one file
// in its processor's folder and one line here.
#include "png/kernels.h"

#include "png/composite.h"
#include "png/pixel_conversion.h"
#include "png/unfilter.h"

#if defined(ZORV_KERNELS_X86)
#include "png/x86/x86_kernels.h"
#endif
#if defined(ZORV_KERNELS_ARM)
#include "png/arm/neon_kernels.h"
#endif

namespace zorv::png {
namespace {

constexpr ProcessorFeatures kPlain = 0;
#if defined(ZORV_KERNELS_X86)
constexpr ProcessorFeatures kSse41Only = kSsse3 | kSse41;  // SSE4.1 code may use SSSE3 shuffles
#endif

constexpr UnfilterChoice kUnfilter[] = {
#if defined(ZORV_KERNELS_X86)
    {kFilterSub, 3, {"sse4.1", kSse41Only, &x86::UnfilterSubSse41<3>}},
    {kFilterSub, 4, {"sse4.1", kSse41Only, &x86::UnfilterSubSse41<4>}},
    {kFilterAverage, 3, {"sse4.1", kSse41Only, &x86::UnfilterAverageSse41<3>}},
    {kFilterAverage, 4, {"sse4.1", kSse41Only, &x86::UnfilterAverageSse41<4>}},
    {kFilterPaeth, 3, {"sse4.1", kSse41Only, &x86::UnfilterPaethSse41<3>}},
    {kFilterPaeth, 4, {"sse4.1", kSse41Only, &x86::UnfilterPaethSse41<4>}},
    {kFilterSub, 3, {"sse2", kSse2, &x86::UnfilterSubSse2<3>}},
    {kFilterSub, 4, {"sse2", kSse2, &x86::UnfilterSubSse2<4>}},
    {kFilterAverage, 3, {"sse2", kSse2, &x86::UnfilterAverageSse2<3>}},
    {kFilterAverage, 4, {"sse2", kSse2, &x86::UnfilterAverageSse2<4>}},
    {kFilterPaeth, 3, {"sse2", kSse2, &x86::UnfilterPaethSse2<3>}},
    {kFilterPaeth, 4, {"sse2", kSse2, &x86::UnfilterPaethSse2<4>}},
#endif
#if defined(ZORV_KERNELS_ARM)
    {kFilterSub, 3, {"neon", kNeon, &arm::UnfilterSubNeon<3>}},
    {kFilterSub, 4, {"neon", kNeon, &arm::UnfilterSubNeon<4>}},
    {kFilterAverage, 3, {"neon", kNeon, &arm::UnfilterAverageNeon<3>}},
    {kFilterAverage, 4, {"neon", kNeon, &arm::UnfilterAverageNeon<4>}},
    {kFilterPaeth, 3, {"neon", kNeon, &arm::UnfilterPaethNeon<3>}},
    {kFilterPaeth, 4, {"neon", kNeon, &arm::UnfilterPaethNeon<4>}},
#endif
    {kFilterNone, 0, {"plain", kPlain, &plain::UnfilterNone}},
    {kFilterUp, 0, {"plain", kPlain, &plain::UnfilterUp}},
    {kFilterSub, 1, {"plain", kPlain, &plain::UnfilterSub<1>}},
    {kFilterSub, 2, {"plain", kPlain, &plain::UnfilterSub<2>}},
    {kFilterSub, 3, {"plain", kPlain, &plain::UnfilterSub<3>}},
    {kFilterSub, 4, {"plain", kPlain, &plain::UnfilterSub<4>}},
    {kFilterSub, 6, {"plain", kPlain, &plain::UnfilterSub<6>}},
    {kFilterSub, 8, {"plain", kPlain, &plain::UnfilterSub<8>}},
    {kFilterSub, 0, {"plain", kPlain, &plain::UnfilterSub<0>}},
    {kFilterAverage, 1, {"plain", kPlain, &plain::UnfilterAverage<1>}},
    {kFilterAverage, 2, {"plain", kPlain, &plain::UnfilterAverage<2>}},
    {kFilterAverage, 3, {"plain", kPlain, &plain::UnfilterAverage<3>}},
    {kFilterAverage, 4, {"plain", kPlain, &plain::UnfilterAverage<4>}},
    {kFilterAverage, 6, {"plain", kPlain, &plain::UnfilterAverage<6>}},
    {kFilterAverage, 8, {"plain", kPlain, &plain::UnfilterAverage<8>}},
    {kFilterAverage, 0, {"plain", kPlain, &plain::UnfilterAverage<0>}},
    {kFilterPaeth, 1, {"plain", kPlain, &plain::UnfilterPaeth<1>}},
    {kFilterPaeth, 2, {"plain", kPlain, &plain::UnfilterPaeth<2>}},
    {kFilterPaeth, 3, {"plain", kPlain, &plain::UnfilterPaeth<3>}},
    {kFilterPaeth, 4, {"plain", kPlain, &plain::UnfilterPaeth<4>}},
    {kFilterPaeth, 6, {"plain", kPlain, &plain::UnfilterPaeth<6>}},
    {kFilterPaeth, 8, {"plain", kPlain, &plain::UnfilterPaeth<8>}},
    {kFilterPaeth, 0, {"plain", kPlain, &plain::UnfilterPaeth<0>}},
};

constexpr KernelChoice<SwapRgbKernel> kSwapRgb[] = {
#if defined(ZORV_KERNELS_X86)
    {"ssse3", kSsse3, &x86::SwapRgbSsse3},
#endif
#if defined(ZORV_KERNELS_ARM)
    {"neon", kNeon, &arm::SwapRgbNeon},
#endif
    {"plain", kPlain, &plain::SwapRgb},
};

constexpr KernelChoice<RgbToColoursKernel> kRgbToColours[] = {
#if defined(ZORV_KERNELS_X86)
    {"ssse3", kSsse3, &x86::RgbToColoursSsse3},
#endif
#if defined(ZORV_KERNELS_ARM)
    {"neon", kNeon, &arm::RgbToColoursNeon},
#endif
    {"plain", kPlain, &plain::RgbToColours},
};

constexpr KernelChoice<BlendToColoursKernel> kBlendToColours[] = {
#if defined(ZORV_KERNELS_X86)
    {"avx2", kAvx2 | kSsse3, &x86::BlendToColoursAvx2},
    {"ssse3", kSsse3, &x86::BlendToColoursSsse3},
#endif
    {"plain", kPlain, &plain::BlendToColours},
};

constexpr KernelChoice<BlendBgraKernel> kBlendBgra[] = {
#if defined(ZORV_KERNELS_X86)
    {"ssse3", kSsse3, &x86::BlendBgraSsse3},
#endif
    {"plain", kPlain, &plain::BlendBgra},
};

constexpr KernelChoice<PairLiteralsKernel> kPairLiterals[] = {
#if defined(ZORV_KERNELS_X86)
    {"avx2", kAvx2, &x86::PairLiteralsAvx2},
#endif
    {"plain", kPlain, &plain::PairLiterals},
};

constexpr KernelChoice<FastLoopKernel> kFastLoop[] = {
#if defined(ZORV_KERNELS_X86)
    {"bmi2",
     kBmi2 | kAvx2,
     {&x86::FastLoopBmi2<false, false, false>, &x86::FastLoopBmi2<false, false, true>,
      &x86::FastLoopBmi2<false, true, false>, &x86::FastLoopBmi2<false, true, true>,
      &x86::FastLoopBmi2<true, false, true>, &x86::BranchFreeLoopBmi2<false>,
      &x86::BranchFreeLoopBmi2<true>}},
#endif
    {"plain",
     kPlain,
     {&plain::FastLoop<false, false, false>, &plain::FastLoop<false, false, true>, &plain::FastLoop<false, true, false>,
      &plain::FastLoop<false, true, true>, &plain::FastLoop<true, false, true>, &plain::BranchFreeLoop<false>,
      &plain::BranchFreeLoop<true>}},
};

// The best unfilter kernel for a filter and a distance: one written for that
// distance, else one for any distance.
UnfilterKernel ChooseUnfilter(std::uint8_t filter, std::size_t bytesPerPixel, ProcessorFeatures features) {
  for (const std::size_t distance : {bytesPerPixel, std::size_t{0}}) {
    for (const UnfilterChoice& c : kUnfilter) {
      if (c.filter == filter && c.bytesPerPixel == distance && HasAll(features, c.choice.needs)) return c.choice.kernel;
    }
  }
  return &plain::UnfilterNone;  // never reached: every filter has a plain kernel for any distance
}

ChosenKernels ChooseAll(ProcessorFeatures features) {
  ChosenKernels chosen{};
  for (std::size_t distance = 0; distance < chosen.unfilterByDistance.size(); ++distance) {
    for (std::uint8_t filter = 0; filter < kFilterTypes; ++filter) {
      chosen.unfilterByDistance[distance][filter] = ChooseUnfilter(filter, distance, features);
    }
  }
  chosen.swapRgb = Choose<SwapRgbKernel>(kSwapRgb, features).kernel;
  chosen.rgbToColours = Choose<RgbToColoursKernel>(kRgbToColours, features).kernel;
  chosen.blendToColours = Choose<BlendToColoursKernel>(kBlendToColours, features).kernel;
  chosen.blendBgra = Choose<BlendBgraKernel>(kBlendBgra, features).kernel;
  chosen.pairLiterals = Choose<PairLiteralsKernel>(kPairLiterals, features).kernel;
  chosen.fastLoop = Choose<FastLoopKernel>(kFastLoop, features).kernel;
  return chosen;
}

}  // namespace

std::span<const UnfilterChoice> UnfilterChoices() { return kUnfilter; }
std::span<const KernelChoice<SwapRgbKernel>> SwapRgbChoices() { return kSwapRgb; }
std::span<const KernelChoice<RgbToColoursKernel>> RgbToColoursChoices() { return kRgbToColours; }
std::span<const KernelChoice<BlendToColoursKernel>> BlendToColoursChoices() { return kBlendToColours; }
std::span<const KernelChoice<BlendBgraKernel>> BlendBgraChoices() { return kBlendBgra; }
std::span<const KernelChoice<PairLiteralsKernel>> PairLiteralsChoices() { return kPairLiterals; }
std::span<const KernelChoice<FastLoopKernel>> FastLoopChoices() { return kFastLoop; }

const ChosenKernels& Kernels() {
  static const ChosenKernels chosen = ChooseAll(EnabledFeatures());
  return chosen;
}

}  // namespace zorv::png
