#include "png/deflate_writer.h"

#include <array>

#include "png/adler32.h"
#include "png/deflate_writer_bit_writer.h"
#include "png/deflate_writer_block.h"
#include "png/deflate_writer_matcher.h"
#include "platform/run_time_error.h"

namespace zorv::png {
namespace {

using deflate_writer::BitWriter;
using deflate_writer::MatchSettings;

// maxChain, goodLength, niceLength, lazy, lazyLimit, maxInsertLength
constexpr std::array<MatchSettings, 10> kLevels = {{
    {0, 0, 0, false, 0, 0},
    {4, 4, 16, false, 0, 4},
    {8, 4, 32, false, 0, 8},
    {24, 8, 64, false, 0, 32},
    {16, 4, 32, true, 8, 0},
    {32, 8, 64, true, 16, 0},
    {128, 8, 128, true, 16, 0},
    {256, 8, 128, true, 32, 0},
    {1024, 32, 258, true, 128, 0},
    {4096, 32, 258, true, 258, 0},
}};

// Tokens per block: enough to pay for a dynamic header many times over, few
// enough that the codes follow changes in the data.
constexpr std::size_t kTokensPerBlock = 32768;

void CheckLevel(int level) {
  if (level < 0 || level > 9) throw RunTimeError(ErrorCode::InvalidArgument);
}

void DeflateInto(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> input, int level) {
  BitWriter bits(out);
  if (level == 0) {
    deflate_writer::WriteStoredBlocks(bits, input, true);
    bits.AlignToByte();
    return;
  }
  deflate_writer::Matcher matcher(input, kLevels[static_cast<std::size_t>(level)]);
  std::vector<deflate_writer::Token> tokens;
  tokens.reserve(kTokensPerBlock);
  do {
    tokens.clear();
    const std::size_t start = matcher.Position();
    matcher.Next(tokens, kTokensPerBlock);
    deflate_writer::WriteBlock(bits, tokens, input.subspan(start, matcher.Position() - start), matcher.AtEnd());
  } while (!matcher.AtEnd());
  bits.AlignToByte();
}

}  // namespace

std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> input, int level) {
  CheckLevel(level);
  std::vector<std::uint8_t> out;
  out.reserve(input.size() / 4 + 64);
  DeflateInto(out, input, level);
  return out;
}

std::vector<std::uint8_t> ZlibCompress(std::span<const std::uint8_t> input, int level) {
  CheckLevel(level);
  std::vector<std::uint8_t> out;
  out.reserve(input.size() / 4 + 64);
  // CMF: method 8 (deflate) with a 32 KiB window. FLG: the level hint in its
  // top two bits, and a check value making CMF * 256 + FLG a multiple of 31.
  constexpr std::uint8_t kMethodAndWindow = 0x78;
  const int levelHint = level <= 1 ? 0 : level <= 5 ? 1 : level == 6 ? 2 : 3;
  int flags = levelHint << 6;
  flags += (31 - (kMethodAndWindow * 256 + flags) % 31) % 31;
  out.push_back(kMethodAndWindow);
  out.push_back(static_cast<std::uint8_t>(flags));
  DeflateInto(out, input, level);
  const std::uint32_t adler = Adler32(input);
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
  return out;
}

}  // namespace zorv::png
