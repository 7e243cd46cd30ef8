#pragma once
// The two fixed records of a zip that the kept listing reads by hand, where either library would read the whole
// central directory to answer: the end record (how many entries the archive holds and where its central
// directory lies) and a member's local header (its signature, and the lengths of the name and extra field
// that follow it).
#include <cstdint>
#include <optional>
#include <string_view>

namespace zorv {

// A local header's fixed part, before the member's name and extra field.
constexpr std::uint64_t kLocalHeaderSize = 30;

struct ZipDirectory {
  std::uint64_t entries = 0;  // files, folders and links alike
  std::uint64_t size = 0;     // bytes of the central directory
  std::uint64_t offset = 0;   // where it starts
};

// From the end record at the end of the file open as `descriptor` (`fileSize` bytes), and from its zip64 form
// where the record defers to it; empty when the file does not end with one.
std::optional<ZipDirectory> ReadZipDirectory(int descriptor, std::uint64_t fileSize);

// Whether a local header starts at `offset`: one read of its four-byte signature.
bool LocalHeaderAt(int descriptor, std::uint64_t offset);

// Where the local header that ends at `end` (its name and extra field included) starts, in `bytes`, which hold
// the file from `bytesOffset` on; empty when they do not hold it whole.
std::optional<std::uint64_t> LocalHeaderEndingAt(std::string_view bytes, std::uint64_t bytesOffset, std::uint64_t end);
// The same, read from the file.
std::optional<std::uint64_t> LocalHeaderEndingAt(int descriptor, std::uint64_t end);

}  // namespace zorv
