#pragma once
// The two fixed records of a zip that the kept listing reads by hand, where either library would read the whole
// central directory to answer: the end record (how many entries the archive holds and where its central
// directory lies) and the signature that opens a member's local header.
#include <cstdint>
#include <optional>

namespace zorv {

struct ZipDirectory {
  std::uint64_t entries = 0;  // files, folders and links alike
  std::uint64_t size = 0;     // bytes of the central directory
  std::uint64_t offset = 0;   // where it starts
};

// From the end record at the end of the file open as `descriptor` (`fileSize` bytes), and from its zip64 form
// where the record defers to it; empty when the file does not end with one.
std::optional<ZipDirectory> ReadZipDirectory(int descriptor, std::uint64_t fileSize);

// Where the first local header at or after `from`, and wholly before `before`, starts; empty when there is
// none. A header right at `from` costs one read of four bytes.
std::optional<std::uint64_t> FindLocalHeader(int descriptor, std::uint64_t from, std::uint64_t before);

}  // namespace zorv
