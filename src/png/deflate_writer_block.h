#pragma once
// Writes one deflate block in whichever of its three forms (stored, fixed codes,
// dynamic codes) comes out shortest.
#include <cstdint>
#include <span>

#include "png/deflate_writer_bit_writer.h"
#include "png/deflate_writer_matcher.h"

namespace zorv::png::deflate_writer {

// `tokens` are the compressed form of exactly the bytes in `raw`.
void WriteBlock(BitWriter& out, std::span<const Token> tokens, std::span<const std::uint8_t> raw, bool final);

// `raw` as stored blocks of at most 65535 bytes; the last is final when `final`.
void WriteStoredBlocks(BitWriter& out, std::span<const std::uint8_t> raw, bool final);

}  // namespace zorv::png::deflate_writer
