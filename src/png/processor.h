#pragma once
// The processor features the kernels are chosen by: probed once per process,
// less those above the level the environment variable ZORV_CPU names, so that
// tests and benchmarks run every lower path on a machine that has a higher one.
#include <cstdint>
#include <optional>
#include <string_view>

namespace zorv::png {

enum ProcessorFeature : std::uint32_t {
  kSse2 = 1U << 0,
  kSsse3 = 1U << 1,
  kSse41 = 1U << 2,
  kAvx2 = 1U << 3,
  kBmi2 = 1U << 4,
  kNeon = 1U << 5,
};
using ProcessorFeatures = std::uint32_t;

constexpr bool HasAll(ProcessorFeatures have, ProcessorFeatures needed) { return (have & needed) == needed; }

// What the processor has: the only place that asks it.
ProcessorFeatures ProbeProcessor();

// The features a level keeps: "plain" none, "sse2" SSE2, "sse4.1" SSE2 to
// SSE4.1, "avx2" every one. NEON, the 128-bit set every 64-bit ARM processor
// has, sits with SSE2. Nothing for a name that is no level.
std::optional<ProcessorFeatures> LevelFeatures(std::string_view level);

// What the kernels may use: the processor's features within the level ZORV_CPU
// names (all of them when it is unset or names no level). Worked out once per process.
ProcessorFeatures EnabledFeatures();

}  // namespace zorv::png
