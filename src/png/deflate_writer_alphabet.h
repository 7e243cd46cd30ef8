#pragma once
// The length and distance alphabets of deflate (RFC 1951 section 3.2.5) seen from
// the writing side: which symbol and extra bits stand for a length or distance.
#include <array>
#include <cstdint>

namespace zorv::png::deflate_writer {

inline constexpr int kMinMatch = 3;
inline constexpr int kMaxMatch = 258;
inline constexpr int kWindowSize = 32768;
inline constexpr int kEndOfBlock = 256;
inline constexpr int kLiteralLengthSymbols = 286;  // 0..285; 286 and 287 never occur
inline constexpr int kDistanceSymbols = 30;
inline constexpr int kCodeLengthSymbols = 19;
inline constexpr int kMaxCodeLength = 15;
inline constexpr int kMaxCodeLengthCodeLength = 7;

inline constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,
                                                              15, 17, 19, 23, 27, 31, 35, 43, 51,  59,
                                                              67, 83, 99, 115, 131, 163, 195, 227, 258};
inline constexpr std::array<std::uint8_t, 29> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
inline constexpr std::array<std::uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
inline constexpr std::array<std::uint8_t, 30> kDistanceExtraBits = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The order in which the code-length code's lengths are sent.
inline constexpr std::array<std::uint8_t, 19> kCodeLengthOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                  11, 4,  12, 3, 13, 2, 14, 1, 15};

namespace detail {

constexpr std::array<std::uint8_t, kMaxMatch + 1> MakeLengthCodes() {
  std::array<std::uint8_t, kMaxMatch + 1> codes{};
  for (int code = 0; code < 29; ++code) {
    const int last = code == 28 ? kMaxMatch : kLengthBase[code] + (1 << kLengthExtraBits[code]) - 1;
    for (int length = kLengthBase[code]; length <= last; ++length) codes[length] = static_cast<std::uint8_t>(code);
  }
  // 258 has a code of its own even though 227 + 31 would also reach it.
  codes[kMaxMatch] = 28;
  return codes;
}

// Distances 1..256 are looked up directly, larger ones by (distance - 1) >> 7.
struct DistanceCodeTables {
  std::array<std::uint8_t, 256> small{};
  std::array<std::uint8_t, 256> large{};
};

constexpr DistanceCodeTables MakeDistanceCodes() {
  DistanceCodeTables tables{};
  for (int code = 0; code < kDistanceSymbols; ++code) {
    const int first = kDistanceBase[code];
    const int last = first + (1 << kDistanceExtraBits[code]) - 1;
    for (int distance = first; distance <= last; ++distance) {
      if (distance <= 256) tables.small[distance - 1] = static_cast<std::uint8_t>(code);
      else tables.large[(distance - 1) >> 7] = static_cast<std::uint8_t>(code);
    }
  }
  return tables;
}

inline constexpr auto kLengthCodes = MakeLengthCodes();
inline constexpr auto kDistanceCodes = MakeDistanceCodes();

}  // namespace detail

// 0..28 for lengths 3..258; the literal/length symbol is this + 257.
inline int LengthCode(int length) { return detail::kLengthCodes[length]; }

// 0..29 for distances 1..32768.
inline int DistanceCode(int distance) {
  return distance <= 256 ? detail::kDistanceCodes.small[distance - 1]
                         : detail::kDistanceCodes.large[(distance - 1) >> 7];
}

}  // namespace zorv::png::deflate_writer
