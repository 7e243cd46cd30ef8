#include "platform/archive/archive_pass.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <limits>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/archive/archive_head.h"
#include "platform/archive/zip_records.h"
#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

std::uint64_t NonNegative(la_int64_t value) { return static_cast<std::uint64_t>(std::max<la_int64_t>(value, 0)); }

}  // namespace

// What the pass reads: the file through its descriptor, or the archive in memory, block by block. It notes when
// the reader asks for bytes past the end, which is what tells an archive cut short from a damaged one, and keeps
// the last two blocks of a file, where a pass over a zip finds the local header it just read.
struct ArchivePass::Input {
  struct Block {
    std::vector<char> bytes;
    std::uint64_t offset = 0;  // in the file
    std::size_t size = 0;
  };

  int descriptor = -1;
  const std::string* bytes = nullptr;
  std::uint64_t origin = 0;    // where the pass starts in the file
  std::uint64_t position = 0;  // where it stands, in the file or the bytes
  std::uint64_t read = 0;      // what it has read so far
  std::array<Block, 2> blocks;
  std::size_t newest = 0;
  bool reachedEnd = false;

  ~Input() {
    if (descriptor >= 0) ::close(descriptor);
  }

  void UseBlocksOf(std::size_t size) {
    for (Block& block : blocks) block.bytes.resize(size);
  }

  // Where the local header that ends at `end` starts, when the blocks kept hold it.
  std::optional<std::uint64_t> LocalHeaderEndingAt(std::uint64_t end) const {
    for (const std::size_t which : {newest, newest ^ 1}) {
      const Block& block = blocks[which];
      if (const auto header = zorv::LocalHeaderEndingAt({block.bytes.data(), block.size}, block.offset, end)) return header;
    }
    return std::nullopt;
  }

  static la_ssize_t Read(struct archive* handle, void* data, const void** buffer) {
    auto* input = static_cast<Input*>(data);
    if (input->bytes) {
      const std::uint64_t size = input->bytes->size();
      const std::uint64_t got = input->position < size ? size - input->position : 0;
      *buffer = input->bytes->data() + std::min(input->position, size);
      input->position += got;
      input->read += got;
      input->reachedEnd |= got == 0;
      return static_cast<la_ssize_t>(got);
    }
    input->newest ^= 1;
    Block& block = input->blocks[input->newest];
    *buffer = block.bytes.data();
    for (;;) {
      const ssize_t got = ::read(input->descriptor, block.bytes.data(), block.bytes.size());
      if (got >= 0) {
        block.offset = input->position;
        block.size = static_cast<std::size_t>(got);
        input->position += block.size;
        input->read += block.size;
        input->reachedEnd |= got == 0;
        return got;
      }
      if (errno != EINTR) {
        archive_set_error(handle, errno, "cannot read the archive");
        return -1;
      }
    }
  }

  static la_int64_t Skip(struct archive*, void* data, la_int64_t request) {
    auto* input = static_cast<Input*>(data);
    if (input->bytes) {
      const std::uint64_t size = input->bytes->size();
      const std::uint64_t skipped = std::min(NonNegative(request), size - std::min(input->position, size));
      input->position += skipped;
      return static_cast<la_int64_t>(skipped);
    }
    if (::lseek(input->descriptor, static_cast<off_t>(request), SEEK_CUR) < 0) return 0;
    input->position += NonNegative(request);
    return request;
  }

  static la_int64_t Seek(struct archive*, void* data, la_int64_t offset, int whence) {
    auto* input = static_cast<Input*>(data);
    if (input->bytes) {
      const auto base = static_cast<la_int64_t>(whence == SEEK_SET   ? 0
                                                : whence == SEEK_CUR ? input->position
                                                                     : input->bytes->size());
      // An offset from a damaged header may be anything.
      if (offset < -base || offset > std::numeric_limits<la_int64_t>::max() - base) return ARCHIVE_FATAL;
      input->position = static_cast<std::uint64_t>(base + offset);
      return static_cast<la_int64_t>(input->position);
    }
    if (whence == SEEK_SET) {
      if (offset > std::numeric_limits<la_int64_t>::max() - static_cast<la_int64_t>(input->origin)) return ARCHIVE_FATAL;
      offset += static_cast<la_int64_t>(input->origin);
    }
    const off_t at = ::lseek(input->descriptor, static_cast<off_t>(offset), whence);
    if (at < 0) return ARCHIVE_FATAL;
    input->position = static_cast<std::uint64_t>(at);
    return at - static_cast<la_int64_t>(input->origin);
  }
};

void ArchivePass::Free::operator()(struct archive* handle) const { archive_read_free(handle); }

ArchivePass::ArchivePass(const fs::path& path, std::unique_ptr<Input> input)
    : path_(path), bytes_(input->bytes), name_(path.string()), input_(std::move(input)), handle_(archive_read_new()) {
  if (!handle_) throw RunTimeError(ErrorCode::OutOfMemory, name_ + ": out of memory");
}

ArchivePass::ArchivePass(const fs::path& path, const std::string* bytes) : ArchivePass(path, [&] {
  auto input = std::make_unique<Input>();
  input->bytes = bytes;
  if (!bytes) {
    input->descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (input->descriptor < 0) throw RunTimeError(ErrorCode::FileNotFound, path.string() + ": no such file");
    input->UseBlocksOf(kArchiveBlockSize);
  }
  return input;
}()) {
  // 7z keeps its member list at the end, which the reader seeks to.
  archive_read_support_format_zip_seekable(handle_.get());
  archive_read_support_format_7zip(handle_.get());
  Open();
}

std::unique_ptr<ArchivePass> ArchivePass::AtLocalHeader(const fs::path& path, std::uint64_t headerOffset) {
  auto input = std::make_unique<Input>();
  input->descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (input->descriptor < 0) throw RunTimeError(ErrorCode::FileNotFound, path.string() + ": no such file");
  // The streaming reader would look past whatever lies there for the next header and read that one.
  if (!LocalHeaderAt(input->descriptor, headerOffset)) return nullptr;
  if (::lseek(input->descriptor, static_cast<off_t>(headerOffset), SEEK_SET) < 0) return nullptr;
  input->origin = input->position = headerOffset;
  input->UseBlocksOf(kArchiveBlockSize);
  std::unique_ptr<ArchivePass> pass(new ArchivePass(path, std::move(input)));
  archive_read_support_format_zip_streamable(pass->handle_.get());
  pass->Open();
  return pass;
}

ArchivePass::~ArchivePass() = default;

void ArchivePass::Open() {
  archive* handle = handle_.get();
  archive_read_set_read_callback(handle, &Input::Read);
  archive_read_set_skip_callback(handle, &Input::Skip);
  archive_read_set_seek_callback(handle, &Input::Seek);
  archive_read_set_callback_data(handle, input_.get());
  if (archive_read_open1(handle) != ARCHIVE_OK) FailOpen();
}

std::uint64_t ArchivePass::LocalHeaderOffset() const {
  // The reader has just read the header, up to the end of its extra field.
  const std::uint64_t end = input_->origin + NonNegative(archive_filter_bytes(handle_.get(), -1));
  if (const auto header = input_->LocalHeaderEndingAt(end)) return *header;
  if (const auto header = zorv::LocalHeaderEndingAt(input_->descriptor, end)) return *header;
  throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": a local header cannot be found where it was read");
}

archive_entry* ArchivePass::NextEntry() {
  archive_entry* entry = nullptr;
  const int status = archive_read_next_header(handle_.get(), &entry);
  if (status == ARCHIVE_EOF) return nullptr;
  if (status < ARCHIVE_WARN) Fail();
  return entry;
}

archive_entry* ArchivePass::NextFile() {
  for (;;) {
    archive_entry* entry = NextEntry();
    if (!entry || archive_entry_filetype(entry) == AE_IFREG) return entry;
  }
}

std::uint64_t ArchivePass::BytesRead() const { return input_->read; }

void ArchivePass::PassData(const std::string& wanted, std::uint64_t limit, std::uint64_t& extracted,
                           const std::stop_token& stop) {
  if (archive_format(handle_.get()) != ARCHIVE_FORMAT_7ZIP) return;
  std::array<char, kArchiveBlockSize> scratch;
  for (;;) {
    if (stop.stop_requested()) ThrowStopped(name_, wanted);
    const la_ssize_t got = archive_read_data(handle_.get(), scratch.data(), scratch.size());
    if (got < 0) Fail();
    if (got == 0) return;
    extracted += static_cast<std::uint64_t>(got);
    if (extracted > limit) ThrowTooLarge(name_, wanted, limit);
  }
}

void ArchivePass::BeginMember(archive_entry* entry, std::uint64_t limit, std::uint64_t extracted) {
  member_ = MemberPath(entry);
  if (archive_entry_is_encrypted(entry))
    throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": " + member_ + " is encrypted");
  sized_ = archive_entry_size_is_set(entry);
  declared_ = NonNegative(archive_entry_size(entry));
  limit_ = limit;
  start_ = done_ = extracted;
  if (extracted > limit_ || (sized_ && declared_ > limit_ - extracted)) ThrowTooLarge(name_, member_, limit_);
}

std::size_t ArchivePass::ReadSome(std::span<char> buffer) {
  const la_ssize_t got = archive_read_data(handle_.get(), buffer.data(), buffer.size());
  if (got < 0) Fail();
  if (got == 0) {
    // The data ended cleanly before the size the header gives: the member lies about its size.
    if (sized_ && done_ - start_ < declared_)
      throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": " + member_ + " is shorter than its header says");
    return 0;
  }
  done_ += static_cast<std::uint64_t>(got);
  if (done_ > limit_) ThrowTooLarge(name_, member_, limit_);
  return static_cast<std::size_t>(got);
}

std::string ArchivePass::MemberPath(archive_entry* entry) {
  const char* raw = archive_entry_pathname(entry);
  if (!raw) raw = archive_entry_pathname_utf8(entry);
  std::string path = raw ? raw : "";
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

void ArchivePass::FailOpen() {
  if (archive_errno(handle_.get()) == ENOMEM) throw RunTimeError(ErrorCode::OutOfMemory, name_ + ": out of memory");
  const ArchiveHead head = bytes_ ? BytesHead(*bytes_) : FileHead(path_);
  if (HoldsNothing(head)) ThrowEmpty(name_);
  if (ZipEndsEarly(head) || SevenZipEndsEarly(head)) ThrowTruncated(name_);
  ThrowNotAnArchive(name_);
}

// libarchive gives every failure of the data a status and a number, but the number says only "file format"
// or "miscellaneous" whether the archive was cut short or damaged: what tells them apart is whether the
// reader asked for bytes past the end of the file, or the 7z start header places its header block there.
void ArchivePass::Fail() {
  const char* text = archive_error_string(handle_.get());
  const std::string message = name_ + ": " + (text ? text : "cannot be read");
  if (archive_errno(handle_.get()) == ENOMEM) throw RunTimeError(ErrorCode::OutOfMemory, message);
  if (input_->reachedEnd || SevenZipEndsEarly(bytes_ ? BytesHead(*bytes_) : FileHead(path_))) ThrowTruncated(name_);
  throw RunTimeError(ErrorCode::PathFileAccess, message);
}

}  // namespace zorv
