#pragma once
// Random deflate streams built block by block: stored, fixed and dynamic blocks
// with random codes, symbols no compressor emits (286, 287, distance codes 30
// and 31), now and then a broken code, a bad block type, a distance reaching
// before the output or a stream cut short.
#include <cstdint>
#include <random>
#include <vector>

namespace zorv::png::testing {

struct RandomDeflateStream {
  std::vector<std::uint8_t> bytes;
  std::size_t outputSize = 0;  // what the stream would inflate to, were nothing capped
};

RandomDeflateStream MakeRandomDeflateStream(std::mt19937& random, bool largeLength, int maxSymbolsPerBlock);

}  // namespace zorv::png::testing
