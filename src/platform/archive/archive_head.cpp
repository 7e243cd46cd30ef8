#include "platform/archive/archive_head.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

#include "platform/run_time_error.h"

namespace zorv {
namespace {

constexpr std::size_t kHeadSize = 32;

std::uint64_t LittleEndian64(std::string_view bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 8; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

}  // namespace

ArchiveHead FileHead(const std::filesystem::path& path) {
  ArchiveHead head;
  std::error_code error;
  head.size = std::filesystem::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  std::array<char, kHeadSize> first{};
  file.read(first.data(), first.size());
  head.bytes.assign(first.data(), static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  return head;
}

ArchiveHead BytesHead(std::string_view archive) { return {std::string(archive.substr(0, kHeadSize)), archive.size()}; }

bool LooksLikeZip(const ArchiveHead& head) {
  return head.bytes.starts_with(std::string_view{"PK\x03\x04", 4}) ||
         head.bytes.starts_with(std::string_view{"PK\x05\x06", 4});
}

bool HoldsNothing(const ArchiveHead& head) {
  return head.size == 0 || head.bytes.starts_with(std::string_view{"PK\x05\x06", 4});
}

bool ZipEndsEarly(const ArchiveHead& head) { return head.bytes.starts_with(std::string_view{"PK\x03\x04", 4}); }

bool SevenZipEndsEarly(const ArchiveHead& head) {
  if (!head.bytes.starts_with(std::string_view{"7z\xBC\xAF\x27\x1C", 6})) return false;
  // Start header: signature 6, version 2, CRC 4, then the header block's offset (counted from the end of the
  // 32-byte start header) and its size.
  if (head.bytes.size() < kHeadSize) return true;
  const std::uint64_t offset = LittleEndian64(std::string_view(head.bytes).substr(12));
  const std::uint64_t size = LittleEndian64(std::string_view(head.bytes).substr(20));
  const std::uint64_t room = head.size - kHeadSize;
  return offset > room || size > room - offset;
}

void ThrowTruncated(const std::string& archive) {
  throw RunTimeError(ErrorCode::InputPastEnd, archive + ": the archive ends early (truncated)");
}

void ThrowEmpty(const std::string& archive) {
  throw RunTimeError(ErrorCode::InputPastEnd, archive + ": the archive is empty");
}

void ThrowNotAnArchive(const std::string& archive) {
  throw RunTimeError(ErrorCode::PathFileAccess, archive + ": not a .zip or .7z archive");
}

void ThrowTooLarge(const std::string& archive, const std::string& member, std::uint64_t limit) {
  throw RunTimeError(ErrorCode::OutOfMemory,
                     archive + ": " + member + " would extract to more than " + std::to_string(limit) + " bytes");
}

void ThrowStopped(const std::string& archive, const std::string& member) {
  throw RunTimeError(ErrorCode::UserInterrupt, archive + ": reading " + member + " was stopped");
}

}  // namespace zorv
