#pragma once
// Inflates a raw deflate stream held in memory (the caller has dropped the two
// zlib header bytes; the Adler-32 after the final block is never read).
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/message_box.h"
#include "png/byte_buffer.h"

namespace zorv::png {

enum InflateResult : int {
  kInflateOk = 0,
  kInflateBadBlock = -1,        // block type 3, or a stored block that does not fit
  kInflateStoredLengthCheck = -2,  // NLEN is not the complement of LEN; decoding went on
};

class FixedCodeTables;

// kCarefulOnly decodes every symbol with the loop that guards each step and
// copies matches a byte at a time; it gives the same bytes and the same
// failures as the fast loop, which the tests and the fuzzer hold it to.
enum class InflatePath { kFast, kCarefulOnly };

class Inflater {
 public:
  explicit Inflater(MessageBox& messages = StandardErrorMessageBox(), InflatePath path = InflatePath::kFast)
      : messages_(&messages), path_(path) {}

  // `data` holds the compressed stream on entry and the inflated bytes on
  // return (at most expectedSize + 100 of them). When a block's code tables
  // cannot be built (a code that does not fill its code space exactly), the
  // message "Error in tree creation (Static)" or "... (Dynamic)" is shown, the
  // result so far is returned and `data` keeps the compressed stream.
  // Reading past the input, a bit pattern that matches no code and a distance
  // before the start of the output throw RunTimeError (subscript out of range).
  // The output is allocated at once for expectedSize + 101 bytes: below
  // -100 that is subscript out of range, above 1 GiB out of memory. It is
  // not zeroed: only the bytes written are kept.
  int Inflate(ByteBuffer& data, std::int32_t expectedSize, bool largeLength);
  // The same, reading the stream where it lies: `output` receives what `data`
  // would hold afterwards (a copy of the stream when the tables failed).
  int Inflate(std::span<const std::uint8_t> stream, ByteBuffer& output, std::int32_t expectedSize, bool largeLength);
  // The same for callers holding a plain vector (the text of a zTXt chunk).
  int Inflate(std::vector<std::uint8_t>& data, std::int32_t expectedSize, bool largeLength);

 private:
  MessageBox* messages_;
  InflatePath path_;
  // The fixed-code tables are built on first use and kept for the object's life
  // (copies of the object share them; they never change once built).
  std::shared_ptr<const FixedCodeTables> fixedCodes_;
};

}  // namespace zorv::png
