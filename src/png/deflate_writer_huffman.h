#pragma once
// Building prefix codes for the compressor: optimal code lengths under a length
// limit, and the canonical codes those lengths stand for.
#include <cstdint>
#include <span>
#include <vector>

namespace zorv::png::deflate_writer {

// One length per symbol (0 for a symbol that is never used), none above
// `maxLength`. At least two symbols always get a length, a lone used symbol being
// given a partner, so the code fills its code space exactly: some inflaters
// refuse an incomplete code, even the single one-bit code that deflate allows.
std::vector<std::uint8_t> BuildCodeLengths(std::span<const std::uint32_t> frequencies, int maxLength);

// The canonical code of each symbol (RFC 1951 section 3.2.2), bit-reversed so
// that BitWriter::Put sends its first bit first.
std::vector<std::uint16_t> CanonicalCodes(std::span<const std::uint8_t> lengths);

}  // namespace zorv::png::deflate_writer
