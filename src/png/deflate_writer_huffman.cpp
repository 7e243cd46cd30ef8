#include "png/deflate_writer_huffman.h"

#include <algorithm>
#include <numeric>

#include "platform/run_time_error.h"

namespace zorv::png::deflate_writer {
namespace {

struct Leaf {
  std::uint64_t weight;
  std::uint16_t symbol;
};

// The used symbols, least frequent first; one or two unused symbols join with
// weight 0 when fewer than two are used.
std::vector<Leaf> SortedLeaves(std::span<const std::uint32_t> frequencies) {
  std::vector<Leaf> leaves;
  for (std::size_t s = 0; s < frequencies.size(); ++s)
    if (frequencies[s] != 0) leaves.push_back({frequencies[s], static_cast<std::uint16_t>(s)});
  for (std::size_t s = 0; leaves.size() < 2 && s < frequencies.size(); ++s)
    if (frequencies[s] == 0) leaves.push_back({0, static_cast<std::uint16_t>(s)});
  std::stable_sort(leaves.begin(), leaves.end(), [](const Leaf& a, const Leaf& b) { return a.weight < b.weight; });
  return leaves;
}

// Depth of each leaf in a Huffman tree, built with the two-queue method: leaves
// in weight order, and the joined nodes, which come out in weight order too.
std::vector<int> HuffmanDepths(const std::vector<Leaf>& leaves) {
  const std::size_t n = leaves.size();
  std::vector<std::uint64_t> weight(2 * n - 1);
  std::vector<std::size_t> parent(2 * n - 1, 0);
  for (std::size_t i = 0; i < n; ++i) weight[i] = leaves[i].weight;
  std::size_t nextLeaf = 0;
  std::size_t nextNode = n;
  auto takeSmallest = [&](std::size_t joined) {
    if (nextLeaf < n && (nextNode >= joined || weight[nextLeaf] <= weight[nextNode])) return nextLeaf++;
    return nextNode++;
  };
  for (std::size_t joined = n; joined < 2 * n - 1; ++joined) {
    const std::size_t a = takeSmallest(joined);
    const std::size_t b = takeSmallest(joined);
    weight[joined] = weight[a] + weight[b];
    parent[a] = parent[b] = joined;
  }
  std::vector<int> depth(2 * n - 1, 0);
  for (std::size_t i = 2 * n - 1; i-- > 0;)
    if (i != 2 * n - 2) depth[i] = depth[parent[i]] + 1;
  depth.resize(n);
  return depth;
}

// How many codes of each length, after pulling every code longer than the limit
// up to it and re-balancing so that the lengths still fill the code space: each
// round drops one code of the longest length and splits a shorter one into two.
std::vector<int> LimitedLengthCounts(const std::vector<int>& depths, int maxLength) {
  std::vector<int> counts(static_cast<std::size_t>(maxLength) + 1, 0);
  for (int d : depths) ++counts[static_cast<std::size_t>(std::min(d, maxLength))];
  std::uint64_t total = 0;
  for (int length = 1; length <= maxLength; ++length)
    total += static_cast<std::uint64_t>(counts[static_cast<std::size_t>(length)]) << (maxLength - length);
  const std::uint64_t full = std::uint64_t{1} << maxLength;
  while (total > full) {
    --counts[static_cast<std::size_t>(maxLength)];
    for (int length = maxLength - 1; length > 0; --length) {
      if (counts[static_cast<std::size_t>(length)] != 0) {
        --counts[static_cast<std::size_t>(length)];
        counts[static_cast<std::size_t>(length) + 1] += 2;
        break;
      }
    }
    --total;
  }
  return counts;
}

}  // namespace

std::vector<std::uint8_t> BuildCodeLengths(std::span<const std::uint32_t> frequencies, int maxLength) {
  if (frequencies.size() < 2 || maxLength < 1 || maxLength > 15 ||
      frequencies.size() > (std::size_t{1} << maxLength))
    throw RunTimeError(ErrorCode::InvalidArgument);
  const std::vector<Leaf> leaves = SortedLeaves(frequencies);
  const std::vector<int> counts = LimitedLengthCounts(HuffmanDepths(leaves), maxLength);
  // The least frequent symbols take the longest codes.
  std::vector<std::uint8_t> lengths(frequencies.size(), 0);
  std::size_t leaf = 0;
  for (int length = maxLength; length >= 1; --length)
    for (int k = 0; k < counts[static_cast<std::size_t>(length)]; ++k)
      lengths[leaves[leaf++].symbol] = static_cast<std::uint8_t>(length);
  return lengths;
}

std::vector<std::uint16_t> CanonicalCodes(std::span<const std::uint8_t> lengths) {
  int lengthCount[16] = {};
  for (std::uint8_t length : lengths) {
    if (length > 15) throw RunTimeError(ErrorCode::InvalidArgument);
    ++lengthCount[length];
  }
  lengthCount[0] = 0;
  int nextCode[16] = {};
  int code = 0;
  for (int bits = 1; bits <= 15; ++bits) {
    code = (code + lengthCount[bits - 1]) << 1;
    nextCode[bits] = code;
  }
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    const int length = lengths[s];
    if (length == 0) continue;
    int forward = nextCode[length]++;
    int reversed = 0;
    for (int i = 0; i < length; ++i, forward >>= 1) reversed = (reversed << 1) | (forward & 1);
    codes[s] = static_cast<std::uint16_t>(reversed);
  }
  return codes;
}

}  // namespace zorv::png::deflate_writer
