#pragma once
// Other decoders of the same files, each to 8-bit samples with alpha. Each
// returns the number of decoded bytes, 0 when it refuses the file.
#include <cstddef>
#include <string>

namespace zorv::bench {

std::size_t DecodeWithLibpng(const std::string& path);
std::size_t DecodeWithSpng(const std::string& path);
std::size_t DecodeWithStb(const std::string& path);
#if defined(ZORV_BENCH_WUFFS)
std::size_t DecodeWithWuffs(const std::string& path);
#endif

}  // namespace zorv::bench
