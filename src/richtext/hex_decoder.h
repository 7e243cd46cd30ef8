#pragma once
// Hex digits of picture data to bytes. The data of a picture is most of a
// report, so the digits are read straight from the input in one pass, sixteen
// at a time where the processor allows.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zorv::richtext {

class HexDecoder {
 public:
  explicit HexDecoder(std::vector<std::uint8_t>& out) : out_(out) {}

  // Appends the bytes of the digits up to the first backslash or brace and
  // returns how many input bytes that was. Anything else that is not a digit
  // (line ends, blanks) is passed over; a digit left over waits for its
  // partner in the next call.
  std::size_t Decode(std::string_view text);

 private:
  std::vector<std::uint8_t>& out_;
  int high_ = -1;
};

}  // namespace zorv::richtext
