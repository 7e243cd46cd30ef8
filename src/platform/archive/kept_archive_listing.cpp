#include "platform/archive/kept_archive_listing.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <system_error>

#include "platform/run_time_error.h"
#include "platform/staged_file.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kFirstLine = "zorvane archive listing 3";
// A zip ends with its end record and the last entries of its central directory: rewriting the archive in
// place, even to the same size within one tick of the file times, changes them.
constexpr std::size_t kTailBytes = 64;
// A member's line: its header's offset and its size (20 digits at most each), two spaces, its name and a line
// break; a folder's or a link's: "-", a space, its name and a line break. The names together take no more room
// than in the central directory.
constexpr std::uint64_t kLineBesidesName = 2 * 20 + 3;
// The checksum's line: 16 hexadecimal digits.
constexpr std::size_t kChecksumDigits = 16;
constexpr std::string_view kNotAFile = "-";

std::optional<fs::path> CacheFolder() {
  if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache != nullptr && fs::path(cache).is_absolute())
    return fs::path(cache) / "zorvane" / "archives";
  if (const char* home = std::getenv("HOME"); home != nullptr && fs::path(home).is_absolute())
    return fs::path(home) / ".cache" / "zorvane" / "archives";
  return std::nullopt;
}

std::optional<fs::path> KeptFile(const ArchiveFingerprint& archive) {
  const auto folder = CacheFolder();
  if (!folder) return std::nullopt;
  char name[17];
  const auto end = std::to_chars(name, name + 16, std::hash<std::string>{}(archive.path), 16).ptr;
  return *folder / (std::string(name, end) + ".list");
}

std::string_view NextLine(std::string_view& text) {
  const auto end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  return line;
}

// The longest listing of the archive's state that could be true; anything longer is not read.
std::uint64_t LargestListing(const ArchiveFingerprint& archive) {
  return kFirstLine.size() + archive.path.size() + archive.identity.size() + kChecksumDigits + 4 +
         archive.directory.entries * kLineBesidesName + archive.directory.size;
}

// The checksum of the entry lines, as its line gives it.
std::string Checksum(std::string_view lines) {
  std::string digits(kChecksumDigits, '0');
  const std::uint64_t sum = std::hash<std::string_view>{}(lines);
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), sum, 16).ptr;
  std::rotate(digits.begin(), digits.begin() + (end - digits.data()), digits.end());
  return digits;
}

bool ReadNumber(std::string_view& line, std::uint64_t& value) {
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (error != std::errc() || end == line.data() + line.size() || *end != ' ') return false;
  line.remove_prefix(static_cast<std::size_t>(end - line.data()) + 1);
  return true;
}

}  // namespace

std::optional<ArchiveFingerprint> FingerprintOf(const fs::path& archive) {
  std::error_code error;
  const fs::path absolute = fs::absolute(archive, error);
  if (error) return std::nullopt;
  const int descriptor = ::open(absolute.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (descriptor < 0) return std::nullopt;
  struct stat status {};
  std::array<char, kTailBytes> tail{};
  ssize_t got = -1;
  std::optional<ZipDirectory> directory;
  if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
    const off_t from = status.st_size > static_cast<off_t>(kTailBytes) ? status.st_size - static_cast<off_t>(kTailBytes) : 0;
    got = ::pread(descriptor, tail.data(), tail.size(), from);
    directory = ReadZipDirectory(descriptor, static_cast<std::uint64_t>(status.st_size));
  }
  ::close(descriptor);
  if (got < 0 || !directory) return std::nullopt;
  const auto nanoseconds = [](const timespec& time) {
    return std::to_string(time.tv_sec) + "." + std::to_string(time.tv_nsec);
  };
  std::string identity = std::to_string(status.st_size) + " " + nanoseconds(status.st_mtim) + " " +
                         nanoseconds(status.st_ctim) + " " + std::to_string(status.st_dev) + " " +
                         std::to_string(status.st_ino) + " " +
                         std::to_string(std::hash<std::string_view>{}({tail.data(), static_cast<std::size_t>(got)})) +
                         " " + std::to_string(directory->entries) + " " + std::to_string(directory->size) + " " +
                         std::to_string(directory->offset);
  return ArchiveFingerprint{absolute.string(), std::move(identity), *directory};
}

std::string SealedListing(const ArchiveFingerprint& archive, std::string_view lines) {
  std::string text;
  text.reserve(kFirstLine.size() + archive.path.size() + archive.identity.size() + kChecksumDigits + 4 + lines.size());
  text.append(kFirstLine).append("\n").append(archive.path).append("\n").append(archive.identity).append("\n");
  text.append(Checksum(lines)).append("\n").append(lines);
  return text;
}

std::optional<std::string> KeptListingText(const ArchiveFingerprint& archive, const std::vector<PlacedEntry>& entries) {
  // One line per entry: a name holding a line break cannot be kept, and such an archive is listed each run.
  if (archive.path.find('\n') != std::string::npos) return std::nullopt;
  std::string lines;
  for (const PlacedEntry& entry : entries) {
    if (entry.path.empty() || entry.path.find('\n') != std::string::npos) return std::nullopt;
    if (entry.isFile) {
      lines.append(std::to_string(entry.headerOffset)).append(" ").append(std::to_string(entry.size)).append(" ");
    } else {
      lines.append(kNotAFile).append(" ");
    }
    lines.append(entry.path).append("\n");
  }
  return SealedListing(archive, lines);
}

std::optional<std::vector<PlacedEntry>> ParseKeptListing(std::string_view text, const ArchiveFingerprint& archive) {
  if (NextLine(text) != kFirstLine || NextLine(text) != archive.path || NextLine(text) != archive.identity)
    return std::nullopt;
  // The lines are the ones written: none changed, left out or added.
  const std::string_view checksum = NextLine(text);
  if (checksum != Checksum(text)) return std::nullopt;
  // Every entry line ends with a line break: a file cut short is not a listing.
  if (!text.empty() && !text.ends_with('\n')) return std::nullopt;
  // One line for each entry the archive's end record counts.
  const auto lines = static_cast<std::uint64_t>(std::count(text.begin(), text.end(), '\n'));
  if (lines != archive.directory.entries || lines == 0) return std::nullopt;
  std::vector<PlacedEntry> entries;
  entries.reserve(static_cast<std::size_t>(lines));
  std::optional<std::uint64_t> lastMember;
  while (!text.empty()) {
    std::string_view line = NextLine(text);
    PlacedEntry entry;
    if (line.starts_with(kNotAFile) && line.substr(kNotAFile.size()).starts_with(' ')) {
      entry.isFile = false;
      line.remove_prefix(kNotAFile.size() + 1);
    } else if (!ReadNumber(line, entry.headerOffset) || !ReadNumber(line, entry.size)) {
      return std::nullopt;
    }
    if (line.empty()) return std::nullopt;
    // The members of a zip follow each other in the file, before its central directory.
    if (entry.isFile) {
      if (lastMember && entry.headerOffset <= *lastMember) return std::nullopt;
      if (entry.headerOffset > archive.directory.offset ||
          archive.directory.offset - entry.headerOffset < kLocalHeaderSize + line.size())
        return std::nullopt;
      lastMember = entry.headerOffset;
    }
    entry.path = line;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::optional<std::vector<PlacedEntry>> LoadKeptListing(const ArchiveFingerprint& archive) {
  const auto file = KeptFile(archive);
  if (!file) return std::nullopt;
  std::error_code error;
  const auto size = fs::file_size(*file, error);
  if (error || size > LargestListing(archive)) return std::nullopt;
  std::ifstream in(*file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!in.read(text.data(), static_cast<std::streamsize>(text.size()))) return std::nullopt;
  return ParseKeptListing(text, archive);
}

void ForgetKeptListing(const ArchiveFingerprint& archive) {
  if (const auto file = KeptFile(archive)) {
    std::error_code error;
    fs::remove(*file, error);
  }
}

void KeepListing(const ArchiveFingerprint& archive, const std::vector<PlacedEntry>& entries) {
  const auto file = KeptFile(archive);
  const auto text = KeptListingText(archive, entries);
  // A listing that would not read back would be made again by every run.
  if (!file || !text || !ParseKeptListing(*text, archive)) return;
  std::error_code error;
  fs::create_directories(file->parent_path(), error);
  if (error) return;
  // Written aside and renamed, so that a run reading it meanwhile, or one started in parallel, sees a whole
  // listing or none; what a run ended by force left aside is removed by the next one that keeps a listing. A
  // cache that cannot be written keeps nothing.
  try {
    RemoveStaleTemporaries(file->parent_path());
    WriteWholeFile(*file, *text);
  } catch (const RunTimeError&) {
  }
}

}  // namespace zorv
