#pragma once
// Collects deflate's bit stream: fields are packed from the least significant bit
// of each byte upward (RFC 1951 section 3.1.1).
#include <cstdint>
#include <vector>

namespace zorv::png::deflate_writer {

class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(&out) {}

  // Appends the low `count` bits of `value`, count at most 32.
  void Put(std::uint32_t value, int count) {
    pending_ |= std::uint64_t{value} << pendingCount_;
    pendingCount_ += count;
    if (pendingCount_ >= 32) {
      for (int i = 0; i < 4; ++i) out_->push_back(static_cast<std::uint8_t>(pending_ >> (8 * i)));
      pending_ >>= 32;
      pendingCount_ -= 32;
    }
  }

  // Pads with zero bits up to the next byte boundary and writes out every pending bit.
  void AlignToByte() {
    while (pendingCount_ > 0) {
      out_->push_back(static_cast<std::uint8_t>(pending_));
      pending_ >>= 8;
      pendingCount_ = pendingCount_ > 8 ? pendingCount_ - 8 : 0;
    }
    pending_ = 0;
  }

  // Whole bytes, after AlignToByte.
  void PutBytes(const std::uint8_t* bytes, std::size_t count) { out_->insert(out_->end(), bytes, bytes + count); }

  // Bits written so far, including those still pending.
  std::uint64_t BitCount() const { return out_->size() * 8 + static_cast<std::uint64_t>(pendingCount_); }

 private:
  std::vector<std::uint8_t>* out_;
  std::uint64_t pending_ = 0;
  int pendingCount_ = 0;
};

}  // namespace zorv::png::deflate_writer
