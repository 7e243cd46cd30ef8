#pragma once
// A plain, slow inflater that follows the decoder's documented algorithm step by
// step: a bit buffer filled a byte at a time, sparse code tables indexed by the
// bit-reversed code and searched from the shortest code length upward. The
// tests and the fuzzer hold the fast inflater to it, outcome for outcome.
#include <cstdint>
#include <string>
#include <vector>

namespace zorv::png::testing {

struct ReferenceOutcome {
  enum class Kind { kReturned, kTableFailure, kDecodingFailure };
  Kind kind = Kind::kReturned;
  int result = 0;
  std::vector<std::uint8_t> output;  // kReturned only
  std::string message;               // kTableFailure only

  bool operator==(const ReferenceOutcome&) const = default;
};

class ReferenceInflater {
 public:
  ReferenceOutcome Inflate(const std::vector<std::uint8_t>& data, std::int32_t expectedSize, bool largeLength);

 private:
  struct CodeTable {
    std::vector<std::int32_t> length;
    std::vector<std::int32_t> symbol;
    int minLength = 0;
    int maxLength = 0;
  };
  struct Failure {};

  std::uint32_t GetBits(int n);
  void NeedBits(int n);
  void DropBits(int n);
  int Decode(const CodeTable& table);
  static int BuildCodeTable(const std::vector<int>& lengths, int lastSymbol, CodeTable& table);
  int BuildStaticTables();
  int BuildDynamicTables();

  std::vector<std::uint8_t> input_;
  std::int64_t inputPosition_ = 0;
  std::int64_t bitBuffer_ = 0;
  int bitCount_ = 0;
  std::vector<std::uint8_t> output_;
  std::int64_t outputPosition_ = 0;
  CodeTable literalLength_;
  CodeTable distance_;
  bool fixedBuilt_ = false;
  CodeTable fixedLiteralLength_;
  CodeTable fixedDistance_;
};

}  // namespace zorv::png::testing
