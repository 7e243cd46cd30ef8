#include "platform/archive/zip_records.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

namespace zorv {
namespace {

constexpr std::string_view kEndSignature{"PK\x05\x06", 4};
constexpr std::string_view kZip64LocatorSignature{"PK\x06\x07", 4};
constexpr std::string_view kZip64EndSignature{"PK\x06\x06", 4};
constexpr std::string_view kLocalHeaderSignature{"PK\x03\x04", 4};
// Local header: signature, versions, flags, method, time, CRC and sizes, then the name's length at byte 26 and
// the extra field's at 28 (16 bits each), then the two.
constexpr std::uint64_t kLongestLocalHeader = kLocalHeaderSize + 2 * 0xFFFF;
// End record: signature, two disk numbers, entries on this disk and in all (16 bits each), the directory's size
// and offset (32 bits each), the comment's length, then the comment.
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kLongestComment = 0xFFFF;
// The zip64 locator lies right before the end record and gives the zip64 end record's offset at its byte 8;
// that record holds the entries at 32, the directory's size at 40 and its offset at 48, 64 bits each.
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndSize = 56;
// Each entry of the central directory takes 46 bytes before its name.
constexpr std::uint64_t kDirectoryEntrySize = 46;

std::uint64_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// `size` bytes from `offset`; fewer only where the file ends first.
std::string ReadAt(int descriptor, std::uint64_t offset, std::size_t size) {
  std::string bytes(size, '\0');
  std::size_t got = 0;
  while (got < size) {
    const ssize_t now = ::pread(descriptor, bytes.data() + got, size - got, static_cast<off_t>(offset + got));
    if (now < 0 && errno == EINTR) continue;
    if (now <= 0) break;
    got += static_cast<std::size_t>(now);
  }
  bytes.resize(got);
  return bytes;
}

// The zip64 end record's figures, where the end record gives only its placeholders.
std::optional<ZipDirectory> ReadZip64Directory(int descriptor, std::uint64_t endOffset) {
  if (endOffset < kZip64LocatorSize) return std::nullopt;
  const std::string locator = ReadAt(descriptor, endOffset - kZip64LocatorSize, kZip64LocatorSize);
  if (locator.size() != kZip64LocatorSize || !locator.starts_with(kZip64LocatorSignature)) return std::nullopt;
  const std::uint64_t recordOffset = LittleEndian(locator, 8, 8);
  if (recordOffset > endOffset - kZip64LocatorSize) return std::nullopt;
  const std::string record = ReadAt(descriptor, recordOffset, kZip64EndSize);
  if (record.size() != kZip64EndSize || !record.starts_with(kZip64EndSignature)) return std::nullopt;
  return ZipDirectory{LittleEndian(record, 32, 8), LittleEndian(record, 40, 8), LittleEndian(record, 48, 8)};
}

}  // namespace

std::optional<ZipDirectory> ReadZipDirectory(int descriptor, std::uint64_t fileSize) {
  const std::size_t tailSize = static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kEndSize + kLongestComment));
  const std::uint64_t tailOffset = fileSize - tailSize;
  const std::string tail = ReadAt(descriptor, tailOffset, tailSize);
  if (tail.size() != tailSize || tailSize < kEndSize) return std::nullopt;
  // The last signature whose comment runs exactly to the end of the file: a comment may hold the signature too.
  for (std::size_t at = tailSize - kEndSize + 1; at-- > 0;) {
    at = tail.rfind(kEndSignature, at);
    if (at == std::string::npos) return std::nullopt;
    if (at + kEndSize + LittleEndian(tail, at + 20, 2) != tailSize) continue;
    const std::uint64_t endOffset = tailOffset + at;
    ZipDirectory directory{LittleEndian(tail, at + 10, 2), LittleEndian(tail, at + 12, 4), LittleEndian(tail, at + 16, 4)};
    if (directory.entries == 0xFFFF || directory.size == 0xFFFFFFFF || directory.offset == 0xFFFFFFFF) {
      const auto zip64 = ReadZip64Directory(descriptor, endOffset);
      if (!zip64) return std::nullopt;
      directory = *zip64;
    }
    // The central directory lies before its end record and has room for its entries.
    if (directory.offset > endOffset || directory.size > endOffset - directory.offset ||
        directory.entries > directory.size / kDirectoryEntrySize)
      return std::nullopt;
    return directory;
  }
  return std::nullopt;
}

bool LocalHeaderAt(int descriptor, std::uint64_t offset) {
  return ReadAt(descriptor, offset, kLocalHeaderSignature.size()) == kLocalHeaderSignature;
}

std::optional<std::uint64_t> LocalHeaderEndingAt(std::string_view bytes, std::uint64_t bytesOffset, std::uint64_t end) {
  if (end < bytesOffset + kLocalHeaderSize || end - bytesOffset > bytes.size()) return std::nullopt;
  // The nearest signature before the end whose name and extra field reach exactly to it.
  for (std::size_t at = static_cast<std::size_t>(end - bytesOffset) - kLocalHeaderSize + 1; at-- > 0;) {
    at = bytes.rfind(kLocalHeaderSignature, at);
    if (at == std::string_view::npos) return std::nullopt;
    if (at + kLocalHeaderSize + LittleEndian(bytes, at + 26, 2) + LittleEndian(bytes, at + 28, 2) == end - bytesOffset)
      return bytesOffset + at;
  }
  return std::nullopt;
}

std::optional<std::uint64_t> LocalHeaderEndingAt(int descriptor, std::uint64_t end) {
  const std::uint64_t from = end - std::min<std::uint64_t>(end, kLongestLocalHeader);
  return LocalHeaderEndingAt(ReadAt(descriptor, from, static_cast<std::size_t>(end - from)), from, end);
}

}  // namespace zorv
