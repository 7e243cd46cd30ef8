#include "platform/archive/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <memory>
#include <span>
#include <system_error>
#include <utility>

#include "platform/ascii_case.h"
#include "platform/archive/archive_head.h"
#include "platform/archive/archive_member_source.h"
#include "platform/archive/kept_archive_listing.h"
#include "platform/run_time_error.h"
#include "platform/archive/zip_archive.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;
// Read from a zip's local headers, a small block lets the reader seek over the members between them.
constexpr std::size_t kHeaderBlockSize = 1024;
// A pass over the local headers that reads more than this per member, beyond a start, is reading the members
// through (their sizes follow their data): the central directory lists such an archive sooner.
constexpr std::uint64_t kHeaderBytesPerMember = 2 * kHeaderBlockSize;
constexpr std::uint64_t kHeaderBytesAtStart = std::uint64_t{1} << 20;

std::string Describe(const std::string& name, struct archive* handle) {
  const char* text = archive_error_string(handle);
  return name + ": " + (text ? text : "cannot be read");
}

}  // namespace

// One pass over an archive with libarchive; the handle and the file are freed however the pass ends.
class OpenArchive final : public ArchiveMemberSource {
 public:
  // From the start of a 7z (or whatever is not a zip), or of a zip whose central directory it reads.
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

  // A zip file read header after header from `headerOffset`, a member's local header, without its central
  // directory.
  OpenArchive(const fs::path& path, std::uint64_t headerOffset)
      : path_(path), bytes_(nullptr), name_(path.string()), handle_(archive_read_new()) {
    if (!handle_) throw RunTimeError(ErrorCode::OutOfMemory, name_ + ": out of memory");
    file_.descriptor = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (file_.descriptor < 0) throw RunTimeError(ErrorCode::FileNotFound, name_ + ": no such file");
    if (::lseek(file_.descriptor, static_cast<off_t>(headerOffset), SEEK_SET) < 0) ThrowTruncated(name_);
    archive_read_support_format_zip_streamable(handle_.get());
    archive_read_set_read_callback(handle_.get(), &Descriptor::Read);
    archive_read_set_skip_callback(handle_.get(), &Descriptor::Skip);
    archive_read_set_callback_data(handle_.get(), &file_);
    if (archive_read_open1(handle_.get()) != ARCHIVE_OK) FailOpen();
  }

  // What the pass has read from the file, apart from what it seeked over.
  std::uint64_t BytesRead() const { return file_.bytesRead; }

  // After NextFile returned nullptr: whether the headers ended where something followed them in the file (a
  // zip's central directory), not at the end of a file cut short or past a member that claims more than is there.
  bool EndedBefore(std::uint64_t fileSize) const {
    return static_cast<std::uint64_t>(std::max<la_int64_t>(archive_filter_bytes(handle_.get(), -1), 0)) < fileSize;
  }

  // Where the header NextFile last returned starts in the archive.
  std::uint64_t HeaderOffset() const {
    return static_cast<std::uint64_t>(std::max<la_int64_t>(archive_read_header_position(handle_.get()), 0));
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
      // The data ended cleanly before the size the header gives: the member lies about its size.
      if (sized_ && done_ < declared_)
        throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": " + member_ + " is shorter than its header says");
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
  // A zip file read from a member's local header on, block by block, seeking over what the reader skips.
  struct Descriptor {
    int descriptor = -1;
    std::array<char, kHeaderBlockSize> block{};
    std::uint64_t bytesRead = 0;

    ~Descriptor() {
      if (descriptor >= 0) ::close(descriptor);
    }
    static la_ssize_t Read(struct archive* handle, void* data, const void** buffer) {
      auto* file = static_cast<Descriptor*>(data);
      *buffer = file->block.data();
      for (;;) {
        const ssize_t got = ::read(file->descriptor, file->block.data(), file->block.size());
        if (got >= 0) {
          file->bytesRead += static_cast<std::uint64_t>(got);
          return got;
        }
        if (errno != EINTR) {
          archive_set_error(handle, errno, "cannot read the archive");
          return -1;
        }
      }
    }
    static la_int64_t Skip(struct archive*, void* data, la_int64_t request) {
      return ::lseek(static_cast<Descriptor*>(data)->descriptor, static_cast<off_t>(request), SEEK_CUR) < 0 ? 0 : request;
    }
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
    const std::string lowered = LowerCase(text ? text : "");
    if (lowered.find("truncated") != std::string::npos || lowered.find("premature end") != std::string::npos ||
        SevenZipEndsEarly(Head()))
      ThrowTruncated(name_);
    throw RunTimeError(ErrorCode::PathFileAccess, message);
  }

  fs::path path_;
  const std::string* bytes_;
  std::string name_;
  Descriptor file_;  // before the handle, which reads it until freed
  std::unique_ptr<struct archive, Free> handle_;
  std::string member_;
  bool sized_ = false;
  std::uint64_t declared_ = 0;
  std::uint64_t limit_ = 0;
  std::uint64_t done_ = 0;
};

ArchiveReader::ArchiveReader(fs::path archive, ZipListing listing) : path_(std::move(archive)) {
  std::error_code error;
  const auto status = fs::status(path_, error);
  if (!fs::exists(status)) throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": no such file");
  if (!fs::is_regular_file(status)) throw RunTimeError(ErrorCode::PathFileAccess, path_.string() + ": not a file");
  ListMembers(listing);
}

ArchiveReader::ArchiveReader(fs::path name, std::string bytes)
    : path_(std::move(name)), bytes_(std::make_shared<const std::string>(std::move(bytes))) {
  ListMembers(ZipListing::kThisRun);
}

ArchiveReader ArchiveReader::FromBytes(std::string bytes) { return ArchiveReader("(archive in memory)", std::move(bytes)); }

void ArchiveReader::ListMembers(ZipListing listing) {
  if (LooksLikeZip(bytes_ ? BytesHead(*bytes_) : FileHead(path_))) {
    if (listing == ZipListing::kKeptBetweenRuns && !bytes_ && ListFromLocalHeaders()) return;
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

// The kept listing, or one made by passing the local headers in order and then kept. False, with nothing
// listed, when the headers do not read cleanly or hold no file: libzip then lists the archive from its central
// directory and gives the failure its number. The pass seeks over members that give their size in their header;
// one whose size follows its data (a data descriptor) would have to be read through to find its end, so a pass
// reading much more than the headers gives way to the central directory too.
bool ArchiveReader::ListFromLocalHeaders() {
  const auto fingerprint = FingerprintOf(path_);
  if (!fingerprint) return false;
  auto placed = LoadKeptListing(*fingerprint);
  if (!placed) {
    placed.emplace();
    try {
      OpenArchive pass(path_, std::uint64_t{0});
      while (archive_entry* entry = pass.NextFile()) {
        placed->push_back({OpenArchive::MemberPath(entry),
                           static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0)),
                           pass.HeaderOffset()});
        if (pass.BytesRead() > kHeaderBytesAtStart + kHeaderBytesPerMember * placed->size()) return false;
      }
      std::error_code error;
      if (!pass.EndedBefore(fs::file_size(path_, error))) return false;
    } catch (const RunTimeError&) {
      return false;
    }
    if (placed->empty()) return false;
    KeepListing(*fingerprint, *placed);
  }
  members_.reserve(placed->size());
  headerOffsets_.reserve(placed->size());
  for (PlacedMember& member : *placed) {
    members_.push_back({std::move(member.path), member.size});
    headerOffsets_.push_back(member.headerOffset);
  }
  return true;
}

ArchiveMemberReader ArchiveReader::OpenMember(std::string_view memberPath, std::uint64_t limit) const {
  const auto found = std::find_if(members_.begin(), members_.end(),
                                  [&](const ArchiveMember& member) { return member.path == memberPath; });
  if (found == members_.end())
    throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": holds no " + std::string(memberPath));
  const auto position = static_cast<std::size_t>(found - members_.begin());
  if (zip_) return ArchiveMemberReader(ZipArchive::Open(zip_, zipIndices_[position], found->path, limit));
  if (!headerOffsets_.empty()) {
    auto member = std::make_unique<OpenArchive>(path_, headerOffsets_[position]);
    archive_entry* entry = member->NextFile();
    // The archive changed since it was listed.
    if (!entry || OpenArchive::MemberPath(entry) != found->path)
      throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": holds no " + std::string(memberPath));
    member->BeginMember(entry, limit);
    return ArchiveMemberReader(std::move(member));
  }
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
  const std::string extension = LowerCase(path.extension().string());
  return extension == ".zip" || extension == ".7z";
}

}  // namespace zorv
