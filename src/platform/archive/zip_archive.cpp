#include "platform/archive/zip_archive.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "platform/archive/archive_head.h"
#include "platform/archive/archive_reader.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace {

std::string ZipErrorText(int zipError) {
  zip_error_t error;
  zip_error_init_with_code(&error, zipError);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

// Folders, links and devices carry their kind in the external attributes: a Unix mode in the high half, or the
// MS-DOS folder bit.
bool IsRegularFile(zip_t* handle, zip_uint64_t index, const char* name) {
  if (std::string_view(name).ends_with('/')) return false;
  zip_uint8_t system = 0;
  zip_uint32_t attributes = 0;
  if (zip_file_get_external_attributes(handle, index, 0, &system, &attributes) != 0) return true;
  if (system == ZIP_OPSYS_UNIX) {
    const mode_t mode = static_cast<mode_t>(attributes >> 16);
    return (mode & S_IFMT) == 0 || S_ISREG(mode);
  }
  return (attributes & 0x10) == 0;
}

}  // namespace

// One member being read; each call takes the archive's lock, so members of one archive read in parallel threads
// take turns at the file.
class ZipMember final : public ArchiveMemberSource {
 public:
  ZipMember(std::shared_ptr<ZipArchive> archive, zip_uint64_t index, std::string member, std::uint64_t limit)
      : archive_(std::move(archive)), member_(std::move(member)), limit_(limit) {
    std::lock_guard lock(archive_->mutex_);
    zip_t* handle = archive_->handle_.get();
    zip_stat_t stat;
    if (zip_stat_index(handle, index, 0, &stat) != 0) archive_->Fail(zip_error_code_zip(zip_get_error(handle)), member_);
    if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
      throw RunTimeError(ErrorCode::PathFileAccess, archive_->name_ + ": " + member_ + " is encrypted");
    if (stat.valid & ZIP_STAT_SIZE) declared_ = stat.size;
    if (declared_ > limit_) ThrowTooLarge(archive_->name_, member_, limit_);
    file_ = zip_fopen_index(handle, index, 0);
    if (!file_) archive_->Fail(zip_error_code_zip(zip_get_error(handle)), member_);
  }
  ZipMember(const ZipMember&) = delete;
  ZipMember& operator=(const ZipMember&) = delete;
  ~ZipMember() override {
    std::lock_guard lock(archive_->mutex_);
    zip_fclose(file_);
  }

  std::size_t ReadSome(std::span<char> buffer) override {
    zip_int64_t got = 0;
    {
      std::lock_guard lock(archive_->mutex_);
      got = zip_fread(file_, buffer.data(), buffer.size());
    }
    if (got < 0) archive_->Fail(zip_error_code_zip(zip_file_get_error(file_)), member_);
    if (got == 0) {
      // The data ended before the size both headers give: the member lies about its size.
      if (done_ < declared_)
        throw RunTimeError(ErrorCode::PathFileAccess, archive_->name_ + ": " + member_ + " is shorter than its header says");
      return 0;
    }
    done_ += static_cast<std::uint64_t>(got);
    if (done_ > limit_) ThrowTooLarge(archive_->name_, member_, limit_);
    return static_cast<std::size_t>(got);
  }

  std::uint64_t DeclaredSize() const override { return declared_; }

 private:
  std::shared_ptr<ZipArchive> archive_;
  std::string member_;
  std::uint64_t limit_;
  std::uint64_t declared_ = 0;
  std::uint64_t done_ = 0;
  zip_file_t* file_ = nullptr;
};

ZipArchive::ZipArchive(const std::filesystem::path& path, const std::string* bytes, std::string name)
    : name_(std::move(name)) {
  zip_error_t error;
  zip_error_init(&error);
  zip_t* handle = nullptr;
  if (bytes) {
    if (zip_source_t* source = zip_source_buffer_create(bytes->data(), bytes->size(), 0, &error)) {
      handle = zip_open_from_source(source, ZIP_RDONLY, &error);
      if (!handle) zip_source_free(source);
    }
  } else {
    int code = ZIP_ER_OK;
    handle = zip_open(path.c_str(), ZIP_RDONLY, &code);
    if (!handle) zip_error_init_with_code(&error, code);
  }
  const int code = zip_error_code_zip(&error);
  zip_error_fini(&error);
  handle_.reset(handle);
  if (handle_) {
    // libzip opens an archive of nothing but its end record; a collector's archive always holds something.
    if (zip_get_num_entries(handle_.get(), 0) == 0) ThrowEmpty(name_);
    return;
  }
  if (code == ZIP_ER_MEMORY) throw RunTimeError(ErrorCode::OutOfMemory, name_ + ": out of memory");
  if (code == ZIP_ER_NOENT) throw RunTimeError(ErrorCode::FileNotFound, name_ + ": no such file");
  const ArchiveHead head = bytes ? BytesHead(*bytes) : FileHead(path);
  if (HoldsNothing(head)) ThrowEmpty(name_);
  if (code == ZIP_ER_NOZIP && ZipEndsEarly(head)) ThrowTruncated(name_);
  if (code == ZIP_ER_NOZIP) ThrowNotAnArchive(name_);
  throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": " + ZipErrorText(code));
}

void ZipArchive::List(std::vector<ArchiveMember>& members, std::vector<std::uint64_t>& indices) const {
  zip_t* handle = handle_.get();
  const zip_int64_t count = zip_get_num_entries(handle, 0);
  members.reserve(static_cast<std::size_t>(std::max<zip_int64_t>(count, 0)));
  indices.reserve(members.capacity());
  zip_stat_t stat;
  for (zip_int64_t i = 0; i < count; ++i) {
    const auto index = static_cast<zip_uint64_t>(i);
    if (zip_stat_index(handle, index, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME)) continue;
    if (!IsRegularFile(handle, index, stat.name)) continue;
    std::string path = stat.name;
    std::replace(path.begin(), path.end(), '\\', '/');
    members.push_back({std::move(path), (stat.valid & ZIP_STAT_SIZE) ? stat.size : 0});
    indices.push_back(index);
  }
}

std::unique_ptr<ArchiveMemberSource> ZipArchive::Open(std::shared_ptr<ZipArchive> archive, std::uint64_t index,
                                                      const std::string& member, std::uint64_t limit) {
  return std::make_unique<ZipMember>(std::move(archive), index, member, limit);
}

void ZipArchive::Fail(int zipError, const std::string& member) const {
  const std::string message = name_ + ": " + member + ": " + ZipErrorText(zipError);
  switch (zipError) {
    case ZIP_ER_MEMORY: throw RunTimeError(ErrorCode::OutOfMemory, message);
    case ZIP_ER_EOF: ThrowTruncated(name_);
    default: throw RunTimeError(ErrorCode::PathFileAccess, message);
  }
}

}  // namespace zorv
