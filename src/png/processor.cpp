#include "png/processor.h"

#include <cstdlib>

namespace zorv::png {

ProcessorFeatures ProbeProcessor() {
#if defined(__x86_64__)
  // (The builtin takes only a literal name.)
  __builtin_cpu_init();
  ProcessorFeatures features = 0;
  if (__builtin_cpu_supports("sse2")) features |= kSse2;
  if (__builtin_cpu_supports("ssse3")) features |= kSsse3;
  if (__builtin_cpu_supports("sse4.1")) features |= kSse41;
  if (__builtin_cpu_supports("avx2")) features |= kAvx2;
  if (__builtin_cpu_supports("bmi2")) features |= kBmi2;
  return features;
#elif defined(__aarch64__)
  return kNeon;
#else
  return 0;
#endif
}

std::optional<ProcessorFeatures> LevelFeatures(std::string_view level) {
  constexpr ProcessorFeatures kSse2Level = kSse2 | kNeon;
  constexpr ProcessorFeatures kSse41Level = kSse2Level | kSsse3 | kSse41;
  if (level == "plain") return 0;
  if (level == "sse2") return kSse2Level;
  if (level == "sse4.1") return kSse41Level;
  if (level == "avx2") return kSse41Level | kAvx2 | kBmi2;
  return std::nullopt;
}

ProcessorFeatures EnabledFeatures() {
  static const ProcessorFeatures enabled = [] {
    const char* level = std::getenv("ZORV_CPU");
    const std::optional<ProcessorFeatures> kept = level != nullptr ? LevelFeatures(level) : std::nullopt;
    return ProbeProcessor() & kept.value_or(~ProcessorFeatures{0});
  }();
  return enabled;
}

}  // namespace zorv::png
