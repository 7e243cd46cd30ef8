#pragma once
// A .zip read through libzip: opening reads the central directory alone, and a member is read from its own
// offset, so neither listing nor reading walks the other members.
#include <zip.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/archive/archive_member_source.h"

namespace zorv {

struct ArchiveMember;

class ZipArchive {
 public:
  // Opens the file at `path`, or `bytes` when it is not null (kept by the caller for this object's life). The
  // failures are ArchiveReader's, named `name`.
  ZipArchive(const std::filesystem::path& path, const std::string* bytes, std::string name);
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  // Regular files in archive order, with the index each has in the archive.
  void List(std::vector<ArchiveMember>& members, std::vector<std::uint64_t>& indices) const;

  // The member at `index`, its path `member` for messages; readers of one archive may run in parallel threads.
  static std::unique_ptr<ArchiveMemberSource> Open(std::shared_ptr<ZipArchive> archive, std::uint64_t index,
                                                   const std::string& member, std::uint64_t limit);

 private:
  friend class ZipMember;
  struct Discard {
    void operator()(zip_t* handle) const { zip_discard(handle); }
  };

  [[noreturn]] void Fail(int zipError, const std::string& member) const;

  std::string name_;
  std::unique_ptr<zip_t, Discard> handle_;
  std::mutex mutex_;  // libzip reads every member through the archive's one source
};

}  // namespace zorv
