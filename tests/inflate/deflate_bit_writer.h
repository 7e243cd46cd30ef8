#pragma once
// Writes deflate streams bit by bit, so that tests can build exactly the
// streams they need: any block header, any code, symbols a compressor would
// never emit.
#include <cstdint>
#include <random>
#include <span>
#include <vector>

namespace zorv::png::testing {

class DeflateBitWriter {
 public:
  // n plain bits, least significant first (the order of headers and extra bits).
  DeflateBitWriter& Bits(std::uint32_t value, int n);
  // A Huffman code of `length` bits, most significant bit first.
  DeflateBitWriter& Code(std::uint32_t code, int length);
  DeflateBitWriter& AlignToByte();
  DeflateBitWriter& Bytes(std::span<const std::uint8_t> bytes);
  std::vector<std::uint8_t> Finish();  // the last partial byte is padded with zero bits

 private:
  std::vector<std::uint8_t> bytes_;
  int bitCount_ = 0;
};

// A canonical prefix code given by its code lengths.
struct PrefixCode {
  std::vector<int> lengths;
  std::vector<std::uint32_t> codes;

  explicit PrefixCode(std::vector<int> codeLengths);
  void Put(DeflateBitWriter& out, int symbol) const { out.Code(codes.at(symbol), lengths.at(symbol)); }
};

const PrefixCode& FixedLiteralLengthCode();
const PrefixCode& FixedDistanceCode();

// A dynamic block's header (after BFINAL and BTYPE): the code lengths of the
// literal/length code (257..288 of them) and of the distance code (1..32), sent
// one by one with a code-length code that gives lengths 0-15 four bits each.
void WriteDynamicHeader(DeflateBitWriter& out, const std::vector<int>& literalLengths,
                        const std::vector<int>& distanceLengths);

// The code lengths of a random complete code over `symbols` symbols, using
// `used` of them (at least 2), no code longer than maxLength.
std::vector<int> RandomCompleteCode(std::mt19937& random, int symbols, int used, int maxLength);

}  // namespace zorv::png::testing
