#include "inflate/reference_inflate.h"

namespace zorv::png::testing {
namespace {

constexpr int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
constexpr int kLengthBase[32] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19, 23, 27, 31,
                                 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258, 0, 0, 0};
constexpr int kLengthExtra[32] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                  3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0, 0, 0, 0};
constexpr int kDistanceBase[32] = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                   49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                   2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr int kDistanceExtra[32] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6,
                                    7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};

int ReverseBits(int code, int n) {
  int r = 0;
  for (int i = 0; i < n; ++i) r = r << 1 | ((code >> i) & 1);
  return r;
}

}  // namespace

std::uint32_t ReferenceInflater::GetBits(int n) {
  while (bitCount_ < n) {
    if (inputPosition_ >= static_cast<std::int64_t>(input_.size())) throw Failure{};
    bitBuffer_ += std::int64_t{input_[inputPosition_]} << bitCount_;
    bitCount_ += 8;
    ++inputPosition_;
  }
  const auto value = static_cast<std::uint32_t>(bitBuffer_ & ((std::int64_t{1} << n) - 1));
  DropBits(n);
  return value;
}

void ReferenceInflater::NeedBits(int n) {
  while (bitCount_ < n && inputPosition_ < static_cast<std::int64_t>(input_.size())) {
    bitBuffer_ += std::int64_t{input_[inputPosition_]} << bitCount_;
    bitCount_ += 8;
    ++inputPosition_;
  }
}

void ReferenceInflater::DropBits(int n) {
  bitBuffer_ >>= n;
  bitCount_ -= n;
}

int ReferenceInflater::Decode(const CodeTable& table) {
  NeedBits(table.maxLength);
  for (int n = table.minLength; n <= 16; ++n) {
    const std::int64_t index = bitBuffer_ & ((std::int64_t{1} << n) - 1);
    if (index >= static_cast<std::int64_t>(table.length.size())) throw Failure{};
    if (table.length[index] == n) {
      DropBits(n);
      return table.symbol[index];
    }
  }
  throw Failure{};
}

int ReferenceInflater::BuildCodeTable(const std::vector<int>& lengths, int lastSymbol, CodeTable& table) {
  int count[17] = {};
  for (int s = 0; s <= lastSymbol; ++s) {
    if (lengths[s] > 16) return -1;
    ++count[lengths[s]];
  }
  table.minLength = 16;
  table.maxLength = 0;
  for (int bits = 1; bits <= 16; ++bits) {
    if (count[bits] == 0) continue;
    if (bits < table.minLength) table.minLength = bits;
    table.maxLength = bits;
  }
  int left = 1;
  for (int bits = 1; bits <= table.maxLength; ++bits) {
    left = 2 * left - count[bits];
    if (left < 0) return left;
  }
  table.length.assign(std::size_t{1} << table.maxLength, 0);
  table.symbol.assign(std::size_t{1} << table.maxLength, 0);
  int next[17] = {};
  count[0] = 0;
  int code = 0;
  for (int bits = 1; bits <= table.maxLength; ++bits) {
    code = (code + count[bits - 1]) * 2;
    next[bits] = code;
  }
  for (int s = 0; s <= lastSymbol; ++s) {
    const int n = lengths[s];
    if (n == 0) continue;
    const int r = ReverseBits(next[n], n);
    table.length[r] = n;
    table.symbol[r] = s;
    ++next[n];
  }
  return left;
}

int ReferenceInflater::BuildStaticTables() {
  if (!fixedBuilt_) {
    std::vector<int> lengths(288);
    for (int s = 0; s < 288; ++s) lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    if (BuildCodeTable(lengths, 287, fixedLiteralLength_) != 0) return -1;
    const int result = BuildCodeTable(std::vector<int>(32, 5), 31, fixedDistance_);
    if (result != 0) return result;
    fixedBuilt_ = true;
  }
  literalLength_ = fixedLiteralLength_;
  distance_ = fixedDistance_;
  return 0;
}

int ReferenceInflater::BuildDynamicTables() {
  const int hlit = static_cast<int>(GetBits(5)) + 257;
  const int hdist = static_cast<int>(GetBits(5)) + 1;
  const int hclen = static_cast<int>(GetBits(4)) + 4;
  std::vector<int> lengths(19, 0);
  for (int i = 0; i < hclen; ++i) lengths[kOrder[i]] = static_cast<int>(GetBits(3));
  CodeTable codeLengthTable;
  if (BuildCodeTable(lengths, 18, codeLengthTable) != 0) return -1;

  std::vector<int> all(hlit + hdist, 0);
  int i = 0;
  while (i < hlit + hdist) {
    const int symbol = Decode(codeLengthTable);
    if (symbol < 16) {
      all[i++] = symbol;
      continue;
    }
    int value = 0;
    int repeat = 0;
    if (symbol == 16) {
      if (i == 0) return -5;
      value = all[i - 1];
      repeat = 3 + static_cast<int>(GetBits(2));
    } else if (symbol == 17) {
      repeat = 3 + static_cast<int>(GetBits(3));
    } else {
      repeat = 11 + static_cast<int>(GetBits(7));
    }
    if (i + repeat > hlit + hdist) return -6;
    while (repeat-- > 0) all[i++] = value;
  }
  if (BuildCodeTable(all, hlit - 1, literalLength_) != 0) return -1;
  const std::vector<int> distances(all.begin() + hlit, all.end());
  return BuildCodeTable(distances, hdist - 1, distance_);
}

ReferenceOutcome ReferenceInflater::Inflate(const std::vector<std::uint8_t>& data, std::int32_t expectedSize,
                                            bool largeLength) {
  ReferenceOutcome outcome;
  try {
    input_ = data;
    const std::int64_t last = std::int64_t{expectedSize} + 100;
    if (last < 0) throw Failure{};
    output_.assign(static_cast<std::size_t>(last + 1), 0);
    inputPosition_ = 0;
    outputPosition_ = 0;
    bitBuffer_ = 0;
    bitCount_ = 0;
    const auto inputLast = static_cast<std::int64_t>(input_.size()) - 1;
    int result = 0;
    for (bool done = false; !done;) {
      const std::uint32_t final = GetBits(1);
      const std::uint32_t type = GetBits(2);
      if (type == 3) {
        result = -1;
        break;
      }
      if (type == 0) {
        if (inputPosition_ + 4 > inputLast) {
          result = -1;
          break;
        }
        while (bitCount_ >= 8) {
          --inputPosition_;
          bitCount_ -= 8;
        }
        const int len = input_[inputPosition_] | input_[inputPosition_ + 1] << 8;
        const int nlen = input_[inputPosition_ + 2] | input_[inputPosition_ + 3] << 8;
        inputPosition_ += 4;
        if (len != (~nlen & 65535)) result = -2;
        if (inputPosition_ + len - 1 > inputLast || outputPosition_ + len - 1 > last) {
          result = -1;
          break;
        }
        for (int k = 0; k < len; ++k) output_[outputPosition_++] = input_[inputPosition_++];
        bitBuffer_ = 0;
        bitCount_ = 0;
      } else {
        const int built = type == 1 ? BuildStaticTables() : BuildDynamicTables();
        if (built != 0) {
          outcome.kind = ReferenceOutcome::Kind::kTableFailure;
          outcome.result = result;
          outcome.message = type == 1 ? "Error in tree creation (Static)" : "Error in tree creation (Dynamic)";
          return outcome;
        }
        for (;;) {
          const int symbol = Decode(literalLength_);
          if (symbol < 256) {
            if (outputPosition_ > last) {
              outputPosition_ = last;
              done = true;
              break;
            }
            output_[outputPosition_++] = static_cast<std::uint8_t>(symbol);
          } else if (symbol == 256) {
            break;
          } else {
            const int i = symbol - 257;
            std::int64_t length = kLengthBase[i] + GetBits(kLengthExtra[i]);
            if (largeLength && length == 258) length = GetBits(16) + 3;
            const int d = Decode(distance_);
            const std::int64_t dist = kDistanceBase[d] + GetBits(kDistanceExtra[d]);
            for (std::int64_t k = 0; k < length; ++k) {
              if (outputPosition_ > last) {
                outputPosition_ = last;
                done = true;
                break;
              }
              if (outputPosition_ - dist < 0) throw Failure{};
              output_[outputPosition_] = output_[outputPosition_ - dist];
              ++outputPosition_;
            }
            if (done) break;
          }
        }
      }
      if (final == 1) done = true;
    }
    output_.resize(static_cast<std::size_t>(outputPosition_));
    outcome.result = result;
    outcome.output = std::move(output_);
    return outcome;
  } catch (const Failure&) {
    outcome.kind = ReferenceOutcome::Kind::kDecodingFailure;
    return outcome;
  }
}

}  // namespace zorv::png::testing
