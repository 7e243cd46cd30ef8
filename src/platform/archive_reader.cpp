#include "platform/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <fstream>
#include <memory>
#include <system_error>
#include <utility>

#include "platform/run_time_error.h"

namespace zorv {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return text;
}

// The archive's first bytes and its whole size, enough to tell an archive that was cut short from a file that
// never was one: libarchive reports both as unreadable.
struct ArchiveHead {
  std::string bytes;
  std::uint64_t size = 0;
};

ArchiveHead FileHead(const fs::path& path) {
  ArchiveHead head;
  std::error_code error;
  head.size = fs::file_size(path, error);
  std::ifstream file(path, std::ios::binary);
  std::array<char, 32> first{};
  file.read(first.data(), first.size());
  head.bytes.assign(first.data(), static_cast<std::size_t>(std::max<std::streamsize>(file.gcount(), 0)));
  return head;
}

std::uint64_t LittleEndian64(std::string_view bytes) {
  std::uint64_t value = 0;
  for (std::size_t i = 8; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

// A zip that starts with a local header but whose central directory (at its end) cannot be found.
bool ZipEndsEarly(const ArchiveHead& head) { return head.bytes.starts_with(std::string_view{"PK\x03\x04", 4}); }

// A 7z whose start header places the header block past the end of the file.
bool SevenZipEndsEarly(const ArchiveHead& head) {
  if (!head.bytes.starts_with(std::string_view{"7z\xBC\xAF\x27\x1C", 6})) return false;
  // Start header: signature 6, version 2, CRC 4, then the header block's offset (counted from the end of the
  // 32-byte start header) and its size.
  if (head.bytes.size() < 32) return true;
  const std::uint64_t offset = LittleEndian64(std::string_view(head.bytes).substr(12));
  const std::uint64_t size = LittleEndian64(std::string_view(head.bytes).substr(20));
  const std::uint64_t room = head.size - 32;
  return offset > room || size > room - offset;
}

std::string Describe(const std::string& name, struct archive* handle) {
  const char* text = archive_error_string(handle);
  return name + ": " + (text ? text : "cannot be read");
}

}  // namespace

// One pass over an archive with libarchive; the handle is freed however the pass ends.
class OpenArchive {
 public:
  explicit OpenArchive(const ArchiveReader& owner)
      : owner_(owner), name_(owner.path_.string()), handle_(archive_read_new()) {
    if (!handle_) throw RunTimeError(ErrorCode::OutOfMemory, name_ + ": out of memory");
    // The seekable zip reader takes the member list from the central directory and skips member data by
    // seeking, where the streaming one would read its way through every member; 7z keeps its list at the end.
    archive_read_support_format_zip_seekable(handle_.get());
    archive_read_support_format_7zip(handle_.get());
    const int opened = owner.inMemory_
                           ? archive_read_open_memory(handle_.get(), owner.bytes_.data(), owner.bytes_.size())
                           : archive_read_open_filename(handle_.get(), owner.path_.c_str(), kBlockSize);
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

  std::string ReadData(archive_entry* entry, std::uint64_t limit) {
    const std::string member = MemberPath(entry);
    if (archive_entry_is_encrypted(entry))
      throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": " + member + " is encrypted");
    const bool sized = archive_entry_size_is_set(entry);
    const auto declared = static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0));
    if (sized && declared > limit) TooLarge(member, limit);
    std::string data;
    if (sized) data.reserve(declared);
    std::array<char, kBlockSize> block;
    for (;;) {
      const la_ssize_t got = archive_read_data(handle_.get(), block.data(), block.size());
      if (got == 0) break;
      if (got < 0) Fail();
      if (data.size() + static_cast<std::uint64_t>(got) > limit) TooLarge(member, limit);
      data.append(block.data(), static_cast<std::size_t>(got));
    }
    if (sized && data.size() < declared) Truncated();
    return data;
  }

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

  ArchiveHead Head() const {
    if (!owner_.inMemory_) return FileHead(owner_.path_);
    return {owner_.bytes_.substr(0, 32), owner_.bytes_.size()};
  }

  [[noreturn]] void Truncated() {
    throw RunTimeError(ErrorCode::InputPastEnd, name_ + ": the archive ends early (truncated)");
  }

  [[noreturn]] void FailOpen() {
    if (archive_errno(handle_.get()) == ENOMEM) throw RunTimeError(ErrorCode::OutOfMemory, Describe(name_, handle_.get()));
    if (const ArchiveHead head = Head(); ZipEndsEarly(head) || SevenZipEndsEarly(head)) Truncated();
    throw RunTimeError(ErrorCode::PathFileAccess, name_ + ": not a .zip or .7z archive");
  }

  [[noreturn]] void Fail() {
    const int number = archive_errno(handle_.get());
    const char* text = archive_error_string(handle_.get());
    const std::string message = Describe(name_, handle_.get());
    if (number == ENOMEM) throw RunTimeError(ErrorCode::OutOfMemory, message);
    const std::string lowered = Lower(text ? text : "");
    if (lowered.find("truncated") != std::string::npos || lowered.find("premature end") != std::string::npos ||
        SevenZipEndsEarly(Head()))
      Truncated();
    throw RunTimeError(ErrorCode::PathFileAccess, message);
  }

  [[noreturn]] void TooLarge(const std::string& member, std::uint64_t limit) {
    throw RunTimeError(ErrorCode::OutOfMemory,
                       name_ + ": " + member + " would extract to more than " + std::to_string(limit) + " bytes");
  }

  const ArchiveReader& owner_;
  std::string name_;
  std::unique_ptr<struct archive, Free> handle_;
};

ArchiveReader::ArchiveReader(fs::path archive) : path_(std::move(archive)) {
  std::error_code error;
  const auto status = fs::status(path_, error);
  if (!fs::exists(status)) throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": no such file");
  if (!fs::is_regular_file(status)) throw RunTimeError(ErrorCode::PathFileAccess, path_.string() + ": not a file");
  ListMembers();
}

ArchiveReader::ArchiveReader(fs::path name, std::string bytes)
    : path_(std::move(name)), bytes_(std::move(bytes)), inMemory_(true) {
  ListMembers();
}

ArchiveReader ArchiveReader::FromBytes(std::string bytes) { return ArchiveReader("(archive in memory)", std::move(bytes)); }

void ArchiveReader::ListMembers() {
  OpenArchive pass(*this);
  while (archive_entry* entry = pass.NextFile()) {
    members_.push_back({OpenArchive::MemberPath(entry),
                        static_cast<std::uint64_t>(std::max<la_int64_t>(archive_entry_size(entry), 0))});
  }
}

std::string ArchiveReader::Read(std::string_view memberPath, std::uint64_t limit) const {
  OpenArchive pass(*this);
  while (archive_entry* entry = pass.NextFile()) {
    if (OpenArchive::MemberPath(entry) == memberPath) return pass.ReadData(entry, limit);
  }
  throw RunTimeError(ErrorCode::FileNotFound, path_.string() + ": holds no " + std::string(memberPath));
}

bool HasArchiveExtension(const fs::path& path) {
  const std::string extension = Lower(path.extension().string());
  return extension == ".zip" || extension == ".7z";
}

}  // namespace zorv
