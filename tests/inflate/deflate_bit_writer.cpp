#include "inflate/deflate_bit_writer.h"

#include <algorithm>
#include <numeric>

namespace zorv::png::testing {

DeflateBitWriter& DeflateBitWriter::Bits(std::uint32_t value, int n) {
  for (int i = 0; i < n; ++i) {
    if (bitCount_ % 8 == 0) bytes_.push_back(0);
    bytes_.back() |= static_cast<std::uint8_t>(((value >> i) & 1) << (bitCount_ % 8));
    ++bitCount_;
  }
  return *this;
}

DeflateBitWriter& DeflateBitWriter::Code(std::uint32_t code, int length) {
  for (int i = length - 1; i >= 0; --i) Bits((code >> i) & 1, 1);
  return *this;
}

DeflateBitWriter& DeflateBitWriter::AlignToByte() {
  bitCount_ = (bitCount_ + 7) / 8 * 8;
  return *this;
}

DeflateBitWriter& DeflateBitWriter::Bytes(std::span<const std::uint8_t> bytes) {
  AlignToByte();
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  bitCount_ += static_cast<int>(bytes.size()) * 8;
  return *this;
}

std::vector<std::uint8_t> DeflateBitWriter::Finish() { return bytes_; }

PrefixCode::PrefixCode(std::vector<int> codeLengths) : lengths(std::move(codeLengths)), codes(lengths.size()) {
  int count[17] = {};
  for (int n : lengths) ++count[n];
  count[0] = 0;
  std::uint32_t next[17] = {};
  std::uint32_t code = 0;
  for (int bits = 1; bits <= 16; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next[bits] = code;
  }
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] != 0) codes[s] = next[lengths[s]]++;
  }
}

const PrefixCode& FixedLiteralLengthCode() {
  static const PrefixCode code = [] {
    std::vector<int> lengths(288);
    for (int s = 0; s < 288; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    return PrefixCode(lengths);
  }();
  return code;
}

const PrefixCode& FixedDistanceCode() {
  static const PrefixCode code(std::vector<int>(32, 5));
  return code;
}

void WriteDynamicHeader(DeflateBitWriter& out, const std::vector<int>& literalLengths,
                        const std::vector<int>& distanceLengths) {
  out.Bits(static_cast<std::uint32_t>(literalLengths.size() - 257), 5);
  out.Bits(static_cast<std::uint32_t>(distanceLengths.size() - 1), 5);
  out.Bits(19 - 4, 4);
  static constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  std::vector<int> codeLengthLengths(19, 4);
  codeLengthLengths[16] = codeLengthLengths[17] = codeLengthLengths[18] = 0;
  for (int symbol : kOrder) out.Bits(static_cast<std::uint32_t>(codeLengthLengths[symbol]), 3);
  const PrefixCode codeLengthCode(codeLengthLengths);
  for (int n : literalLengths) codeLengthCode.Put(out, n);
  for (int n : distanceLengths) codeLengthCode.Put(out, n);
}

std::vector<int> RandomCompleteCode(std::mt19937& random, int symbols, int used, int maxLength) {
  // Split random leaves of a binary tree until it has `used` leaves.
  used = std::min(used, symbols);
  std::vector<int> depths = {0};
  const bool deep = random() % 2 == 0;  // now and then long codes, to reach the subtables
  while (static_cast<int>(depths.size()) < used) {
    std::vector<std::size_t> splittable;
    for (std::size_t i = 0; i < depths.size(); ++i) {
      if (depths[i] < maxLength) splittable.push_back(i);
    }
    if (splittable.empty()) break;
    std::size_t leaf = splittable[random() % splittable.size()];
    if (deep && random() % 2 == 0) leaf = splittable.back();
    ++depths[leaf];
    depths.push_back(depths[leaf]);
  }
  std::vector<int> order(symbols);
  std::iota(order.begin(), order.end(), 0);
  std::shuffle(order.begin(), order.end(), random);
  std::vector<int> lengths(symbols, 0);
  for (std::size_t i = 0; i < depths.size(); ++i) lengths[order[i]] = depths[i];
  return lengths;
}

}  // namespace zorv::png::testing
