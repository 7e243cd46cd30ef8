#pragma once
// One pass over an archive with libarchive: a .7z, or a zip listed from its central directory, from its start;
// or a zip from one member's local header on. The handle and the file are freed however the pass ends; failures
// are the ArchiveReader's numbered errors.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <stop_token>
#include <string>

#include "platform/archive/archive_member_source.h"

struct archive;
struct archive_entry;

namespace zorv {

class ArchivePass final : public ArchiveMemberSource {
 public:
  // From the start of the file, or of `bytes` when it is not null (kept by the caller for the pass's life).
  ArchivePass(const std::filesystem::path& path, const std::string* bytes);
  // A zip read header after header from `headerOffset` on, without its central directory. Null when no local
  // header starts there: a listing that placed one there does not describe the file.
  static std::unique_ptr<ArchivePass> AtLocalHeader(const std::filesystem::path& path, std::uint64_t headerOffset);
  ~ArchivePass() override;
  ArchivePass(const ArchivePass&) = delete;
  ArchivePass& operator=(const ArchivePass&) = delete;

  // The next entry, whatever its kind, or nullptr at the end.
  archive_entry* NextEntry();
  // The next regular file's entry, or nullptr at the end.
  archive_entry* NextFile();
  // How many bytes the pass has read from the file or the bytes so far (what it seeks over not counted).
  std::uint64_t BytesRead() const;
  // In a pass over a zip file: where the local header of the member NextFile last returned starts. libarchive
  // does not tell; it has just read that header, which therefore ends where the pass stands.
  std::uint64_t LocalHeaderOffset() const;

  // Passes the data of the entry NextFile just returned, on the way to `wanted`. A 7z's is read through and
  // added to `extracted`: past `limit` that stops with error 7 naming `wanted`, and a stop request ends it with
  // error 18. What lies before a member in its solid block must be decompressed anyway, and libarchive's own
  // skip does that in one call that nothing can bound or stop (and that fails on valid archives when what it
  // skips is a whole number of its 64 KiB buffer). Other archives' readers seek over the data.
  void PassData(const std::string& wanted, std::uint64_t limit, std::uint64_t& extracted, const std::stop_token& stop);
  // Makes `entry`, just returned by NextFile, the member that ReadSome reads; `extracted` bytes already count
  // against `limit`.
  void BeginMember(archive_entry* entry, std::uint64_t limit, std::uint64_t extracted = 0);

  std::size_t ReadSome(std::span<char> buffer) override;
  std::uint64_t DeclaredSize() const override { return declared_; }

  static std::string MemberPath(archive_entry* entry);

 private:
  struct Input;
  struct Free {
    void operator()(struct archive* handle) const;
  };

  ArchivePass(const std::filesystem::path& path, std::unique_ptr<Input> input);
  void Open();
  [[noreturn]] void FailOpen();
  [[noreturn]] void Fail();

  std::filesystem::path path_;
  const std::string* bytes_;
  std::string name_;
  std::unique_ptr<Input> input_;  // before the handle, which reads it until freed
  std::unique_ptr<struct archive, Free> handle_;
  std::string member_;
  bool sized_ = false;
  std::uint64_t declared_ = 0;
  std::uint64_t limit_ = 0;
  std::uint64_t start_ = 0;  // what was extracted before the member
  std::uint64_t done_ = 0;   // and with what it gave so far
};

}  // namespace zorv
