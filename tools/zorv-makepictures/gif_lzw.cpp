#include "gif_lzw.h"

#include <array>
#include <memory>

namespace zorv::pictures {
namespace {

constexpr int kMaxCodeSize = 12;
constexpr int kMaxCodes = 1 << kMaxCodeSize;

class CodeWriter {
 public:
  explicit CodeWriter(std::vector<std::uint8_t>& out) : out_(&out) {}
  void Put(int code, int size) {
    pending_ |= static_cast<std::uint32_t>(code) << pendingBits_;
    pendingBits_ += size;
    while (pendingBits_ >= 8) {
      out_->push_back(static_cast<std::uint8_t>(pending_));
      pending_ >>= 8;
      pendingBits_ -= 8;
    }
  }
  void Finish() {
    if (pendingBits_ > 0) out_->push_back(static_cast<std::uint8_t>(pending_));
    pending_ = 0;
    pendingBits_ = 0;
  }

 private:
  std::vector<std::uint8_t>* out_;
  std::uint32_t pending_ = 0;
  int pendingBits_ = 0;
};

// The string table as (prefix code, next index) → code, in open addressing.
class StringTable {
 public:
  StringTable() { Clear(); }
  void Clear() { keys_.fill(kEmpty); }
  int Find(int prefix, std::uint8_t index) const {
    const std::uint32_t key = Key(prefix, index);
    for (std::uint32_t slot = Slot(key);; slot = (slot + 1) & kMask) {
      if (keys_[slot] == kEmpty) return -1;
      if (keys_[slot] == key) return codes_[slot];
    }
  }
  void Add(int prefix, std::uint8_t index, int code) {
    const std::uint32_t key = Key(prefix, index);
    std::uint32_t slot = Slot(key);
    while (keys_[slot] != kEmpty) slot = (slot + 1) & kMask;
    keys_[slot] = key;
    codes_[slot] = static_cast<std::uint16_t>(code);
  }

 private:
  // Twice the most codes the table holds keeps the probe runs short.
  static constexpr std::uint32_t kSlots = 2 * kMaxCodes;
  static constexpr std::uint32_t kMask = kSlots - 1;
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static std::uint32_t Key(int prefix, std::uint8_t index) { return static_cast<std::uint32_t>(prefix) << 8 | index; }
  static std::uint32_t Slot(std::uint32_t key) { return (key * 2654435761u) >> (32 - 13); }
  std::array<std::uint32_t, kSlots> keys_;
  std::array<std::uint16_t, kSlots> codes_{};
};

}  // namespace

std::vector<std::uint8_t> LzwCompress(std::span<const std::uint8_t> indices, int minimumCodeSize) {
  const int clearCode = 1 << minimumCodeSize;
  const int endCode = clearCode + 1;
  std::vector<std::uint8_t> out;
  CodeWriter writer(out);
  auto table = std::make_unique<StringTable>();
  int codeSize = minimumCodeSize + 1;
  int nextCode = endCode + 1;
  writer.Put(clearCode, codeSize);
  if (indices.empty()) {
    writer.Put(endCode, codeSize);
    writer.Finish();
    return out;
  }
  int prefix = indices[0];
  for (std::size_t i = 1; i < indices.size(); ++i) {
    const std::uint8_t index = indices[i];
    if (const int code = table->Find(prefix, index); code >= 0) {
      prefix = code;
      continue;
    }
    writer.Put(prefix, codeSize);
    if (nextCode < kMaxCodes) {
      table->Add(prefix, index, nextCode);
      // The decoder widens its codes once the table reaches the current size.
      if (nextCode == (1 << codeSize) && codeSize < kMaxCodeSize) ++codeSize;
      ++nextCode;
    } else {
      // A full table starts over, announced by a clear code at the full width.
      writer.Put(clearCode, codeSize);
      table->Clear();
      codeSize = minimumCodeSize + 1;
      nextCode = endCode + 1;
    }
    prefix = index;
  }
  writer.Put(prefix, codeSize);
  writer.Put(endCode, codeSize);
  writer.Finish();
  return out;
}

}  // namespace zorv::pictures
