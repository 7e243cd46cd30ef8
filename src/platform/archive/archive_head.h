#pragma once
// An archive's first bytes and its size: enough to tell an archive that was cut short, or holds nothing, from a
// file that never was one, which the archive libraries report alike.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace zorv {

struct ArchiveHead {
  std::string bytes;  // the first 32 at most
  std::uint64_t size = 0;
};

ArchiveHead FileHead(const std::filesystem::path& path);
ArchiveHead BytesHead(std::string_view archive);

// A zip begins with a local header, or with its end record when it holds nothing.
bool LooksLikeZip(const ArchiveHead& head);
// An empty file, or a zip that is nothing but its end record.
bool HoldsNothing(const ArchiveHead& head);
// A zip that starts with a local header but whose central directory (at its end) cannot be found.
bool ZipEndsEarly(const ArchiveHead& head);
// A 7z whose start header places the header block past the end of the file.
bool SevenZipEndsEarly(const ArchiveHead& head);

// The failures every archive reader reports alike, as RunTimeErrors naming `archive`.
[[noreturn]] void ThrowTruncated(const std::string& archive);
[[noreturn]] void ThrowEmpty(const std::string& archive);
[[noreturn]] void ThrowNotAnArchive(const std::string& archive);
[[noreturn]] void ThrowTooLarge(const std::string& archive, const std::string& member, std::uint64_t limit);
// A read given up at the caller's request (error 18), before it reached its end.
[[noreturn]] void ThrowStopped(const std::string& archive, const std::string& member);

}  // namespace zorv
