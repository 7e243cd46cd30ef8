#pragma once
// Reading one file out of a .zip or .7z archive, as collectors receive their data
// files (history.zip, mameinfo.zip, catver.7z).
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

namespace zorv {

// One regular file inside a .zip or .7z archive, its path as stored ("/" separators).
struct ArchiveMember {
  std::string path;
  std::uint64_t size = 0;
};

class ArchiveMemberSource;
class ListingKeeper;
class ZipArchive;
struct ArchiveFingerprint;

// One member read in pieces, for members too large to hold whole (a game list of hundreds of megabytes). The
// ArchiveReader it came from must outlive it.
class ArchiveMemberReader {
 public:
  ArchiveMemberReader(ArchiveMemberReader&&) noexcept;
  ArchiveMemberReader& operator=(ArchiveMemberReader&&) noexcept;
  ~ArchiveMemberReader();

  // Fills the front of `buffer`; 0 at the member's end. The same failures as ArchiveReader::Read.
  std::size_t Read(std::span<char> buffer);
  // The size the archive gives for the member (0 when it gives none).
  std::uint64_t DeclaredSize() const;

 private:
  friend class ArchiveReader;
  ArchiveMemberReader(std::unique_ptr<ArchiveMemberSource> source, std::stop_token stop);
  std::unique_ptr<ArchiveMemberSource> source_;
  std::stop_token stop_;
};

// How a zip file's member list is had.
enum class ZipListing {
  kThisRun,           // from its central directory, each time
  kKeptBetweenRuns,   // from the listing kept for this state of the file, else made and kept
};

// A .zip or .7z archive: a zip (told by its first bytes, not its name) read through libzip, which lists it from
// its central directory and reads a member from its own offset; anything else through libarchive. A zip whose
// listing is kept between runs is read through libarchive's streaming reader from the member's local header;
// when no listing is kept for it yet, libzip reads it, and the listing is made when the reader is destroyed.
// Failures are RunTimeErrors: 53 when the file does not exist, 75 when it is not an archive, is encrypted or
// cannot be read, 62 when it ends early (truncated), 7 when a member, with whatever must be decompressed to
// reach it, would pass the size limit given to Read, 18 when a read was stopped on request.
class ArchiveReader {
 public:
  // Reads the member list from the headers alone (a zip's central directory or its kept listing, a 7z's header
  // block).
  explicit ArchiveReader(std::filesystem::path archive, ZipListing listing = ZipListing::kThisRun);
  // The same for an archive held in memory; `bytes` is kept.
  static ArchiveReader FromBytes(std::string bytes);

  // Regular files only, in archive order.
  const std::vector<ArchiveMember>& Members() const { return *members_; }

  // One member whole. The limit holds against what is really extracted, not only against the size the
  // header declares, so a member that lies about its size is stopped too; in a solid 7z it holds against the
  // members before it in its block as well. A stop request ends the read between two blocks.
  std::string Read(std::string_view memberPath, std::uint64_t limit, std::stop_token stop = {}) const;
  // The same member in pieces; error 53 when the archive holds no such member.
  ArchiveMemberReader OpenMember(std::string_view memberPath, std::uint64_t limit, std::stop_token stop = {}) const;

  const std::filesystem::path& Path() const { return path_; }

 private:
  ArchiveReader(std::filesystem::path name, std::string bytes);
  void ListMembers(ZipListing listing);
  bool ListKept(const ArchiveFingerprint& archive);
  ArchiveMemberReader OpenPlacedMember(std::size_t position, std::uint64_t limit, std::stop_token stop) const;
  ArchiveMemberReader PassToMember(std::size_t position, std::uint64_t limit, std::stop_token stop) const;

  std::shared_ptr<ListingKeeper> keeper_;  // making the listing once libzip's handle is gone, when none was kept
  std::filesystem::path path_;
  std::shared_ptr<const std::string> bytes_;  // the archive itself when it was given in memory
  std::shared_ptr<ZipArchive> zip_;          // set when libzip reads the archive
  std::shared_ptr<const std::vector<ArchiveMember>> members_;
  std::vector<std::uint64_t> zipIndices_;    // each member's index in the zip, when libzip reads it
  std::vector<std::uint64_t> headerOffsets_;  // where each member's local header starts, when the listing is kept
  struct Relisting;
  std::shared_ptr<Relisting> relisting_;  // set when the listing is kept
};

// True when the name ends in ".zip" or ".7z", whatever the case.
bool HasArchiveExtension(const std::filesystem::path& path);

}  // namespace zorv
