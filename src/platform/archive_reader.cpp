#include "platform/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <span>
#include <system_error>
#include <utility>

#include "platform/archive_head.h"
#include "platform/archive_member_source.h"
#include "platform/run_time_error.h"
#include "platform/zip_archive.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

std::string Describe(const std::string& name, struct archive* handle) {
  const char* text = archive_error_string(handle);
  return name + ": " + (text ? text : "cannot be read");
}

}  // namespace

// One pass over an archive with libarchive (a 7z, or whatever is not a zip); the handle is freed however the
// pass ends.
class OpenArchive final : public ArchiveMemberSource {
 public:
  OpenArchive(const fs::path& path, const std::string* bytes)
      : path_(path), bytes_(bytes), name_(path.string()), handle_(archive_read_new()) {
    if (!handle_) throw RunTimeError(ErrorCode::OutOfMemory, name_ + ": out of memory");
    // 7z keeps its member list at the end, which the reader seeks to.
    archive_read_support_format_zip_seekable(handle_.get());
    archive_read_support_format_7zip(handle_.get());
    const int opened = bytes_ ? archive_read_open_memory(handle_.get(), bytes_->data(), bytes_->size())
                              : archive_read_open_filename(handle_.get(), path_.c_str(), kBlockSize);
    if (opened != ARCHIVE_OK) FailOpen();
  }

  // The next regular file's entry, or nullptr at the end.
  archive_entry* NextFile() {
    for (;;) {
      archive_entry* entry = nullptr;
      const int status = archive_read_next_header(handle_.get(), &entry);
      if (status == ARCHIVE_EOF) return nullptr;
      if (status < ARCHIVE_WARN) Fail();
      if (archive_entry_filetype(entry) == AE_IFREG) return entry;
    }
  }

  // Makes `entry`, just returned by NextFile, the member that ReadSome reads.
  void BeginMember(archive_entry* entry, std::uint64_t limit) {
    member_ = MemberPath(entry);
    if (archive_entry_is_encrypted(entry))
      throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": " + member_ + " is encrypted");
    sized_ = archive_entry_size_is_set(entry);
    declared_ = static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0));
    limit_ = limit;
    done_ = 0;
    if (sized_ && declared_ > limit_) ThrowTooLarge(name_, member_, limit_);
  }

  std::size_t ReadSome(std::span<char> buffer) override {
    const la_ssize_t got = archive_read_data(handle_.get(), buffer.data(), buffer.size());
    if (got < 0) Fail();
    if (got == 0) {
      if (sized_ && done_ < declared_) ThrowTruncated(name_);
      return 0;
    }
    done_ += static_cast<std::uint64_t>(got);
    if (done_ > limit_) ThrowTooLarge(name_, member_, limit_);
    return static_cast<std::size_t>(got);
  }

  std::uint64_t DeclaredSize() const override { return declared_; }

  static std::string MemberPath(archive_entry* entry) {
    const char* raw = archive_entry_pathname(entry);
    if (!raw) raw = archive_entry_pathname_utf8(entry);
    std::string path = raw ? raw : "";
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
  }

 private:
  struct Free {
    void operator()(struct archive* handle) const { archive_read_free(handle); }
  };

  ArchiveHead Head() const { return bytes_ ? BytesHead(*bytes_) : FileHead(path_); }

  [[noreturn]] void FailOpen() {
    if (archive_errno(handle_.get()) == ENOMEM) throw RunTimeError(ErrorCode::OutOfMemory, Describe(name_, handle_.get()));
    const ArchiveHead head = Head();
    if (HoldsNothing(head)) ThrowEmpty(name_);
    if (ZipEndsEarly(head) || SevenZipEndsEarly(head)) ThrowTruncated(name_);
    ThrowNotAnArchive(name_);
  }

  [[noreturn]] void Fail() {
    const int number = archive_errno(handle_.get());
    const char* text = archive_error_string(handle_.get());
    const std::string message = Describe(name_, handle_.get());
    if (number == ENOMEM) throw RunTimeError(ErrorCode::OutOfMemory, message);
    const std::string lowered = Lower(text ? text : "");
    if (lowered.find("truncated") != std::string::npos || lowered.find("premature end") != std::string::npos ||
        SevenZipEndsEarly(Head()))
      ThrowTruncated(name_);
    throw RunTimeError(ErrorCode::PathFileAccess, message);
  }

  fs::path path_;
  const std::string* bytes_;
  std::string name_;
  std::unique_ptr<struct archive, Free> handle_;
  std::string member_;
  bool sized_ = false;
  std::uint64_t declared_ = 0;
  std::uint64_t limit_ = 0;
  std::uint64_t done_ = 0;
};

ArchiveReader::ArchiveReader(fs::path archive) : path_(std::move(archive)) {
  std::error_code error;
  const auto status = fs::status(path_, error);
  if (!fs::exists(status)) throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": no such file");
  if (!fs::is_regular_file(status)) throw RunTimeError(ErrorCode::PathFileAccess, path_.string() + ": not a file");
  ListMembers();
}

ArchiveReader::ArchiveReader(fs::path name, std::string bytes)
    : path_(std::move(name)), bytes_(std::make_shared<const std::string>(std::move(bytes))) {
  ListMembers();
}

ArchiveReader ArchiveReader::FromBytes(std::string bytes) { return ArchiveReader("(archive in memory)", std::move(bytes)); }

void ArchiveReader::ListMembers() {
  if (LooksLikeZip(bytes_ ? BytesHead(*bytes_) : FileHead(path_))) {
    zip_ = std::make_shared<ZipArchive>(path_, bytes_.get(), path_.string());
    zip_->List(members_, zipIndices_);
    return;
  }
  OpenArchive pass(path_, bytes_.get());
  while (archive_entry* entry = pass.NextFile()) {
    members_.push_back({OpenArchive::MemberPath(entry),
                        static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0))});
  }
}

ArchiveMemberReader ArchiveReader::OpenMember(std::string_view memberPath, std::uint64_t limit) const {
  const auto found = std::find_if(members_.begin(), members_.end(),
                                  [&](const ArchiveMember& member) { return member.path == memberPath; });
  if (found == members_.end())
    throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": holds no " + std::string(memberPath));
  const auto position = static_cast<std::size_t>(found - members_.begin());
  if (zip_) return ArchiveMemberReader(ZipArchive::Open(zip_, zipIndices_[position], found->path, limit));
  // libarchive reaches a member by passing the ones before it; their names need no reading.
  auto pass = std::make_unique<OpenArchive>(path_, bytes_.get());
  for (std::size_t skipped = 0;; ++skipped) {
    archive_entry* entry = pass->NextFile();
    if (!entry) ThrowTruncated(path_.string());
    if (skipped == position) {
      // The archive changed since it was listed.
      if (OpenArchive::MemberPath(entry) != found->path)
        throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": holds no " + std::string(memberPath));
      pass->BeginMember(entry, limit);
      return ArchiveMemberReader(std::move(pass));
    }
  }
}

std::string ArchiveReader::Read(std::string_view memberPath, std::uint64_t limit) const {
  ArchiveMemberReader member = OpenMember(memberPath, limit);
  std::string data;
  data.reserve(member.DeclaredSize());
  std::array<char, kBlockSize> block;
  while (const std::size_t got = member.Read(block)) data.append(block.data(), got);
  return data;
}

ArchiveMemberReader::ArchiveMemberReader(std::unique_ptr<ArchiveMemberSource> source) : source_(std::move(source)) {}
ArchiveMemberReader::ArchiveMemberReader(ArchiveMemberReader&&) noexcept = default;
ArchiveMemberReader& ArchiveMemberReader::operator=(ArchiveMemberReader&&) noexcept = default;
ArchiveMemberReader::~ArchiveMemberReader() = default;

std::size_t ArchiveMemberReader::Read(std::span<char> buffer) { return source_->ReadSome(buffer); }
std::uint64_t ArchiveMemberReader::DeclaredSize() const { return source_->DeclaredSize(); }

bool HasArchiveExtension(const fs::path& path) {
  const std::string extension = Lower(path.extension().string());
  return extension == ".zip" || extension == ".7z";
}

}  // namespace zorv
